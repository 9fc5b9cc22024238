#pragma once
// The tile palette: one tile set at a time, from which a click picks the tile that painting stamps,
// or, in terrain-edit mode, whose default terrain a click rewrites.

#include "document/editor_settings.h"
#include "tools/paint_tool.h"

#include <QPoint>
#include <QWidget>

#include <memory>

class QButtonGroup;

namespace Ui {
class TTilesForm;
}

class TTilesForm : public QWidget {
    Q_OBJECT
public:
    TTilesForm(vantor::EditorSettings &settings, vantor::PaintTool &paint, QWidget *parent = nullptr);
    ~TTilesForm() override;

    // Loads set `set` into the palette picture, with the picked tile's marker; the radio group
    // keeps what the user chose.
    void showSet(int set);
    const QImage &picture() const;

    void addTerrainNames();
    void enterTerrainEdit();
    void leaveTerrainEdit();
    bool inTerrainEdit() const;

public slots:
    void RadioGroup1Click();
    void TileImageMouseMove(Qt::KeyboardModifiers modifiers, int X, int Y);
    void TileImageClick(Qt::KeyboardModifiers modifiers, int X, int Y);

private:
    void FormCreate();

    std::unique_ptr<Ui::TTilesForm> ui;
    vantor::EditorSettings &settings_;
    vantor::PaintTool &paint_;
    QButtonGroup *setButtons = nullptr;
    QPoint hoverPosition{0, 0};
};
