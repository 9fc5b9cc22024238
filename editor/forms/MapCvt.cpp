#include "MapCvt.h"

#include "ui_MapCvtForm.h"

#include "Map.h"

#include "tools/map_commands.h"
#include "tools/pattern_passes.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include <random>

using namespace vantor;

namespace {

void Beaches(MapStore &map, const DefaultTerrainTable &terrain) { PatternPass(map, BeachPass, terrain); }
void Shallows(MapStore &map, const DefaultTerrainTable &terrain) { PatternPass(map, ShallowPass, terrain); }

} // namespace

TMapConvert::TMapConvert(MapDocument &document, const EditorSettings &settings, TMapForm &mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TMapConvert>())
    , document_(document)
    , settings_(settings)
    , mainWindow_(mainWindow)
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

QSize TMapConvert::convertedSize() const
{
    if (!sketchLoaded)
        return {document_.map().MapWidth, document_.map().MapHeight};
    const QSize size = SketchMapSize(sketch().size(), PixelsPerHex());
    return IsValidMapSize(size.width(), size.height()) ? size : QSize();
}

void TMapConvert::showSize()
{
    const QSize size = SketchMapSize(sketch().size(), PixelsPerHex());
    ui->SizeLbl->setText(QStringLiteral("Map Size%1x%2").arg(size.width()).arg(size.height()));
}

void TMapConvert::setMemo(const QString &text)
{
    ui->Memo1->clear();
    ui->Memo1->setPlainText(text);
}

void TMapConvert::LoadBtnClick()
{
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
    showSize();
    setMemo(QStringLiteral("Now Convert to map format"));
}

// Until a sketch is loaded there is nothing to size the map from.
void TMapConvert::ScaleEditChange()
{
    if (sketchLoaded)
        showSize();
}

// The map takes the size and the hexes the sketch gives, as one step, once unsaved changes are
// asked about. A new map has no file yet.
void TMapConvert::ConvertBtnClick()
{
    const QSize size = convertedSize();
    if (size.isEmpty() || !mainWindow_.maybeSaveChanges())
        return;
    document_.edit(QStringLiteral("Convert"), [&](MapContent &content) {
        content.map.MapWidth = size.width();
        content.map.MapHeight = size.height();
        ConvertSketch(sketch(), PixelsPerHex(), content.map, settings_.defaultTerrain, variantRandom);
        content.tables.homemade = false;
    });
    document_.forgetFile();
    emit converted();
    setMemo(QStringLiteral("Now Return to Vantor, Save then Load"));
}

void TMapConvert::runPass(const QString &name, WholeMapPass pass) { RunPass(document_, name, pass, settings_.defaultTerrain); }

void TMapConvert::CoastBtnClick() { runPass(QStringLiteral("Make Coastline"), MakeCoastline); }

void TMapConvert::BeachBtnClick() { runPass(QStringLiteral("Make Beaches"), Beaches); }

void TMapConvert::ShallowBtnClick() { runPass(QStringLiteral("Make Shallows"), Shallows); }

void TMapConvert::RoadBtnClick() { runPass(QStringLiteral("Make Roads"), MakeRoads); }

void TMapConvert::RiverBtnClick() { runPass(QStringLiteral("Make Rivers"), MakeRivers); }

void TMapConvert::ReturnBtnClick()
{
    close();
    mainWindow_.show();
    mainWindow_.activateWindow();
}
