#pragma once
// The "Map Converter" window: a sketch in seven colours becomes the editor's map, and the pattern
// passes shape it. The sketch, its scale and the map size they give are the window's own until
// Convert, which replaces the map in one step.

#include "dialogs.h"
#include "document/editor_settings.h"
#include "document/map_document.h"
#include "tools/map_commands.h"
#include "tools/sketch_conversion.h"

#include <QWidget>

#include <memory>

class TMapForm;

namespace Ui {
class TMapConvert;
}

class TMapConvert : public QWidget {
    Q_OBJECT
public:
    TMapConvert(vantor::MapDocument &document, const vantor::EditorSettings &settings, TMapForm &mainWindow,
                QWidget *parent = nullptr);
    ~TMapConvert() override;

    // Sketch pixels per hex, as the spinner shows it.
    int PixelsPerHex() const;
    // The sketch shown (a blank white canvas until one is loaded).
    const QImage &sketch() const;
    // The map size Convert gives: the loaded sketch's at the scale, or the map's own before a
    // sketch is loaded. Empty when the sketch is smaller than one hex.
    QSize convertedSize() const;

    // The random source of the tile variants; seeded, a conversion repeats its variants.
    void seedVariants(unsigned seed) { variantRandom.seed(seed); }

    FileDialogSettings OpenDialog1;

signals:
    // Convert replaced the map.
    void converted();

public slots:
    void LoadBtnClick();
    void ConvertBtnClick();
    void CoastBtnClick();
    void BeachBtnClick();
    void ShallowBtnClick();
    void RoadBtnClick();
    void RiverBtnClick();
    void ReturnBtnClick();
    void ScaleEditChange();

private:
    void showSize();
    void setMemo(const QString &text);
    void runPass(const QString &name, vantor::WholeMapPass pass);

    std::unique_ptr<Ui::TMapConvert> ui;
    vantor::MapDocument &document_;
    const vantor::EditorSettings &settings_;
    TMapForm &mainWindow_;
    vantor::VariantSource variantRandom;
    bool sketchLoaded = false;
};
