#include "MapCvt.h"

#include "ui_MapCvtForm.h"

#include "Map.h"
#include "windows.h"

#include "model/editor_state.h"
#include "tools/pattern_passes.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include <random>

using namespace vantor;

TMapConvert *MapConvert = nullptr;

TMapConvert::TMapConvert(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TMapConvert>())
    , variantRandom(std::random_device{}())
{
    ui->setupUi(this);
    // The spinner's text box is the scale's edit box.
    if (QLineEdit *edit = ui->UpDown1->findChild<QLineEdit *>())
        edit->setObjectName(QStringLiteral("ScaleEdit"));
    ui->CvtImage->setPictureSize(400, 400);
    ui->CvtImage->picture().fill(Qt::white);
    OpenDialog1.filter = QStringLiteral("Windows Bitmap (*.bmp)| *.bmp");

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(ui->LoadBtn, &QPushButton::clicked, this, &TMapConvert::LoadBtnClick);
    connect(ui->ConvertBtn, &QPushButton::clicked, this, &TMapConvert::ConvertBtnClick);
    connect(ui->CoastBtn, &QPushButton::clicked, this, &TMapConvert::CoastBtnClick);
    connect(ui->BeachBtn, &QPushButton::clicked, this, &TMapConvert::BeachBtnClick);
    connect(ui->ShallowBtn, &QPushButton::clicked, this, &TMapConvert::ShallowBtnClick);
    connect(ui->RoadBtn, &QPushButton::clicked, this, &TMapConvert::RoadBtnClick);
    connect(ui->RiverBtn, &QPushButton::clicked, this, &TMapConvert::RiverBtnClick);
    connect(ui->ReturnBtn, &QPushButton::clicked, this, &TMapConvert::ReturnBtnClick);
    connect(ui->UpDown1, &QSpinBox::valueChanged, this, &TMapConvert::ScaleEditChange);
}

TMapConvert::~TMapConvert() = default;

int TMapConvert::PixelsPerHex() const { return ui->UpDown1->value(); }

const QImage &TMapConvert::sketch() const { return ui->CvtImage->picture(); }

void TMapConvert::setMemo(const QString &text)
{
    ui->Memo1->clear();
    ui->Memo1->setPlainText(text);
}

// The map takes the size the sketch gives at once; the main window's picture follows on closing.
// A sketch smaller than one hex leaves the map's size alone: a map has at least one hex each way.
void TMapConvert::sizeMapFromSketch()
{
    const QSize size = SketchMapSize(sketch().size(), PixelsPerHex());
    sketchTooSmall = !IsValidMapSize(size.width(), size.height());
    if (!sketchTooSmall) {
        EditMap(QStringLiteral("Size Map From Sketch"), [size] {
            Map.MapWidth = size.width();
            Map.MapHeight = size.height();
        });
    }
    ui->SizeLbl->setText(QStringLiteral("Map Size%1x%2").arg(size.width()).arg(size.height()));
}

// A sketch resizes the map and Convert replaces it: unsaved changes are asked about first.
bool TMapConvert::mayReplaceMap() { return !MapForm || MapForm->maybeSaveChanges(); }

void TMapConvert::LoadBtnClick()
{
    if (!mayReplaceMap())
        return;
    const QString path = Dialogs().openFileName(this, OpenDialog1);
    if (path.isEmpty())
        return;
    QImage image;
    if (const QString error = ReadSketch(path, image); !error.isEmpty()) {
        Dialogs().showError(this, error);
        return;
    }
    ui->CvtImage->picture() = image;
    ui->CvtImage->resize(image.size());
    ui->CvtImage->update();
    sketchLoaded = true;
    sizeMapFromSketch();
    setMemo(QStringLiteral("Now Convert to map format"));
}

// Until a sketch is loaded there is nothing to size the map from.
void TMapConvert::ScaleEditChange()
{
    if (sketchLoaded)
        sizeMapFromSketch();
}

void TMapConvert::ConvertBtnClick()
{
    if (Map.MapWidth < 1 || sketchTooSmall || !mayReplaceMap())
        return;
    EditMap(QStringLiteral("Convert"),
            [this] { ConvertSketch(sketch(), PixelsPerHex(), Map, Editor.DefaultTerrain, variantRandom); });
    setMemo(QStringLiteral("Now Return to Vantor, Save then Load"));
}

void TMapConvert::CoastBtnClick()
{
    EditMap(QStringLiteral("Make Coastline"), [this] {
        PatternPass(Map, CoastPass, Editor.DefaultTerrain);
        BeachBtnClick();
        ShallowBtnClick();
    });
}

void TMapConvert::BeachBtnClick()
{
    EditMap(QStringLiteral("Make Beaches"), [] { PatternPass(Map, BeachPass, Editor.DefaultTerrain); });
}

void TMapConvert::ShallowBtnClick()
{
    EditMap(QStringLiteral("Make Shallows"), [] { PatternPass(Map, ShallowPass, Editor.DefaultTerrain); });
}

void TMapConvert::RoadBtnClick()
{
    EditMap(QStringLiteral("Make Roads"), [] { MakeRoads(Map, Editor.DefaultTerrain); });
}

void TMapConvert::RiverBtnClick()
{
    EditMap(QStringLiteral("Make Rivers"), [] { MakeRivers(Map, Editor.DefaultTerrain); });
}

void TMapConvert::ReturnBtnClick()
{
    close();
    if (MapForm) {
        MapForm->show();
        MapForm->activateWindow();
    }
}

void TMapConvert::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}

void TMapConvert::FormClose()
{
    if (MapForm)
        MapForm->RefreshMapImage();
}
