#pragma once
// The "Map Converter" window: a sketch in seven colours becomes the editor's map, and the pattern
// passes shape it. It writes straight into the map; the main window shows the result when this
// window closes.

#include "dialogs.h"
#include "tools/sketch_conversion.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TMapConvert;
}

class TMapConvert : public QWidget {
    Q_OBJECT
public:
    explicit TMapConvert(QWidget *parent = nullptr);
    ~TMapConvert() override;

    // Sketch pixels per hex, as the spinner shows it.
    int PixelsPerHex() const;
    // The sketch shown (a blank white canvas until one is loaded).
    const QImage &sketch() const;

    // The random source of the tile variants; seeded, a conversion repeats its variants.
    void seedVariants(unsigned seed) { variantRandom.seed(seed); }

    FileDialogSettings OpenDialog1;

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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormClose();
    void sizeMapFromSketch();
    bool mayReplaceMap();
    void setMemo(const QString &text);

    std::unique_ptr<Ui::TMapConvert> ui;
    vantor::VariantSource variantRandom;
    bool sketchLoaded = false;
    // The last sizing found the sketch smaller than one hex: the map kept its size, and Convert
    // does nothing until a sketch or scale gives a map.
    bool sketchTooSmall = false;
};

extern TMapConvert *MapConvert;
