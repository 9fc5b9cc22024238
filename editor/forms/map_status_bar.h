#pragma once
// The main window's status bar: what the hex under the pointer holds, the zoom, the tool in use
// and the size of the selection, each in a label of its own that stays while messages come and go.

#include "document/map_document.h"

#include <QStatusBar>

#include <optional>

class QLabel;

class MapStatusBar : public QStatusBar {
    Q_OBJECT
public:
    // map is the widget of the map picture: the pointer leaving it is off the map.
    MapStatusBar(const vantor::MapDocument &document, QWidget &map, QWidget *parent = nullptr);

    // The hex under the pointer, or none when it is off the map. Shown as the document holds it,
    // and again after every step.
    void showHex(std::optional<vantor::HexCoord> hex);
    void showZoom(double zoom);
    // brushSize 0: the tool has no brush.
    void showTool(const QString &name, int brushSize);
    // 0: nothing selected.
    void showSelection(int hexCount);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *addLabel(const char *name);
    static void setText(QLabel &label, const QString &text);
    void describeHex();

    const vantor::MapDocument &document_;
    QObject *map_; // compared with only: its last events come while it is being destroyed
    std::optional<vantor::HexCoord> hex_;
    QLabel *hexLabel_;
    QLabel *zoomLabel_;
    QLabel *toolLabel_;
    QLabel *selectionLabel_;
};
