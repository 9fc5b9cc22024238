#include "Map.h"

#include "ui_MapForm.h"

#include "files/native_map_file.h"
#include "model/editor_state.h"
#include "model/geometry.h"
#include "render/map_renderer.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPainter>

using namespace vantor;

TMapForm *MapForm = nullptr;

namespace {

// Shows the busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

constexpr ColourValue Olive = 0x008080;
constexpr ColourValue Aqua = 0xFFFF00;
constexpr ColourValue Green = 0x008000;
constexpr ColourValue Silver = 0xC0C0C0;

} // namespace

TMapForm::TMapForm(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TMapForm>())
{
    ui->setupUi(this);
    connectMenu();
    FormCreate();
}

TMapForm::~TMapForm() = default;

const QImage &TMapForm::mapPicture() const { return ui->MapImage->picture(); }

void TMapForm::connectMenu()
{
    connect(ui->LoadMap1, &QAction::triggered, this, &TMapForm::LoadMap1Click);
    connect(ui->SaveMap1, &QAction::triggered, this, &TMapForm::SaveMap1Click);
    connect(ui->Exit1, &QAction::triggered, this, &TMapForm::Exit1Click);
}

void TMapForm::FormCreate()
{
    ui->MapImage->setPictureSize(MapPictureWidth(Map.MapWidth) - 1, MapPictureHeight(Map.MapHeight));
    Editor.ProgramDir = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    QPainter(&ui->MapImage->picture()).fillRect(0, 0, 649, 550, ToQColor(Olive));
    ui->MapImage->update();
}

void TMapForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TMapForm::FormActivate()
{
    if (FirstActivation) {
        ui->MapImage->setPictureSize(MapPictureWidth(Map.MapWidth), MapPictureHeight(Map.MapHeight));
        ui->MapImage->picture().fill(ToQColor(Aqua));
        drawTitlePanel();
    }
    FirstActivation = false;
}

void TMapForm::drawTitlePanel()
{
    QPainter painter(&ui->MapImage->picture());
    painter.fillRect(20, 20, 330, 230, ToQColor(Green));
    painter.setPen(ToQColor(Silver));
    painter.setBackground(ToQColor(Green));
    painter.setBackgroundMode(Qt::OpaqueMode);
    const auto write = [&painter](int pointSize, int x, int y, const QString &text) {
        painter.setFont(QFont(QStringLiteral("Arial"), pointSize));
        painter.drawText(QRect(x, y, 600, 200), Qt::AlignLeft | Qt::AlignTop, text);
    };
    write(20, 65, 30, QStringLiteral("Vantor Map Editor"));
    write(16, 100, 80, QStringLiteral("Version 0.50b"));
    write(14, 50, 180, QStringLiteral("     December 2004"));
    ui->MapImage->update();
}

void TMapForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

// The scroll box keeps its top-left corner and fills the window but for a small margin.
void TMapForm::FormResize()
{
    const QSize area = ui->centralwidget->size();
    const QPoint corner = ui->MapScrollBox->pos();
    ui->MapScrollBox->resize(std::max(0, area.width() - corner.x() - 7), std::max(0, area.height() - corner.y() - 11));
}

void TMapForm::RefreshMapImage()
{
    ui->MapImage->setPictureSize(MapPictureWidth(Map.MapWidth), MapPictureHeight(Map.MapHeight));
    RedrawMap();
}

void TMapForm::RedrawMap()
{
    RedrawReport report;
    tileSets.setFolder(Editor.ProgramDir);
    {
        const BusyCursor busy;
        report = RedrawMapPicture(Map, tileSets, Editor.BackgroundColor, ui->MapImage->picture(),
                                  [this](int) { ui->MapImage->repaint(); });
        Editor.CurrentSet = 0;
        Editor.CurrentTile = -1;
        if (report.lastTileDrawn) {
            const PixelRect cell = TileRect(report.lastTileDrawn->tile);
            PaintImage = tileSets.image(report.lastTileDrawn->set).copy(cell.left, cell.top, TileWidth, TileHeight);
        }
        ui->MapImage->update();
        ui->MapSizeLbl->setText(QStringLiteral("%1x%2").arg(Map.MapWidth).arg(Map.MapHeight));
    }
    if (!report.unavailableSets.empty())
        reportUnavailableSets(report.unavailableSets);
}

void TMapForm::reportUnavailableSets(const std::vector<int> &sets)
{
    QStringList names;
    for (const int s : sets)
        names << QStringLiteral("  ") + tileSets.fileNameOf(s);
    Dialogs().inform(this, QStringLiteral("Missing Tile Sets"),
                     QStringLiteral("These tile-set files are missing or unreadable in %1, so their hexes "
                                    "show only the background:\n%2")
                         .arg(QDir::toNativeSeparators(tileSets.folder()), names.join(QLatin1Char('\n'))));
}

void TMapForm::LoadMap1Click()
{
    Editor.PlaceCount = 0;
    OpenDialog1.title = QStringLiteral("Load Ketura Map File");
    OpenDialog1.filter = QStringLiteral("Map files (*.map)|*.map|All files (*.*) | *.*");
    OpenDialog1.defaultExt = QStringLiteral("map");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (fileName.isEmpty())
        return;
    if (const QString error = ReadMapFile(fileName, Map); !error.isEmpty()) {
        Dialogs().inform(this, QStringLiteral("Map Not Loaded"), error);
        return;
    }
    RefreshMapImage();
}

void TMapForm::SaveMap1Click()
{
    SaveDialog1.title = QStringLiteral("Save Ketura Map File");
    SaveDialog1.filter = QStringLiteral("Map files (*.map)|*.map| All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("map");
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName) && !ConfirmOverwrite(this, fileName))
        return;
    if (const QString error = WriteMapFile(fileName, Map); !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Map Not Saved"), error);
}

void TMapForm::Exit1Click() { close(); }
