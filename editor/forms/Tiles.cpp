#include "Tiles.h"

#include "ui_TilesForm.h"

#include "model/geometry.h"
#include "model/tile_set_files.h"
#include "render/tile_set_library.h"

#include <QButtonGroup>
#include <QPainter>
#include <QRadioButton>

using namespace vantor;

namespace {

constexpr int HoverStep = 10;
constexpr int LastTile = TilesPerSet - 1;

} // namespace

TTilesForm::TTilesForm(EditorSettings &settings, PaintTool &paint, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TTilesForm>())
    , settings_(settings)
    , paint_(paint)
{
    ui->setupUi(this);
    setButtons = new QButtonGroup(this);
    for (int s = 0; s < TileSetCount; ++s)
        setButtons->addButton(findChild<QRadioButton *>(QStringLiteral("RadioGroup1Item%1").arg(s)), s);
    connect(setButtons, &QButtonGroup::idClicked, this, &TTilesForm::RadioGroup1Click);
    connect(ui->TileImage, &PictureBox::mouseMoved, this, &TTilesForm::TileImageMouseMove);
    connect(ui->TileImage, &PictureBox::clicked, this, &TTilesForm::TileImageClick);
    connect(&paint_, &PaintTool::pickChanged, this, [this] { showSet(paint_.pick().set); });
    FormCreate();
}

TTilesForm::~TTilesForm() = default;

void TTilesForm::FormCreate()
{
    move(585, 112);
    ui->TileImage->setPictureSize(ui->TileImage->width(), ui->TileImage->height());
    showSet(0);
}

const QImage &TTilesForm::picture() const { return ui->TileImage->picture(); }

// The radio button of the set shown is always the one checked.
void TTilesForm::showSet(int set)
{
    if (QAbstractButton *button = setButtons->button(set))
        button->setChecked(true);
    QImage &shown = ui->TileImage->picture();
    shown.fill(palette().color(QPalette::Window));
    const QString path = FindSetFile(settings_.programDir, set);
    const QImage bitmap = path.isEmpty() ? QImage() : ReadTileSetImage(path);
    QPainter painter(&shown);
    if (bitmap.isNull())
        painter.drawText(shown.rect(), Qt::AlignCenter,
                         QStringLiteral("%1\nis missing or unreadable").arg(SetFileName(set)));
    else
        painter.drawImage(0, 0, bitmap);
    if (const TilePick &pick = paint_.pick(); pick.isPicked() && pick.set == set) {
        const PixelRect cell = TileRect(pick.tile);
        painter.setPen(Qt::white);
        painter.setBrush(Qt::red);
        painter.drawEllipse(QRect(cell.left + 21, cell.top + 16, 5, 5));
    }
    ui->TileImage->update();
}

void TTilesForm::addTerrainNames()
{
    for (const char *name : TerrainNames)
        ui->TerrainCBox->addItem(QString::fromLatin1(name));
}

void TTilesForm::enterTerrainEdit()
{
    ui->RadioGroup1->hide();
    ui->TerrainCBox->show();
}

void TTilesForm::leaveTerrainEdit()
{
    ui->RadioGroup1->show();
    ui->TerrainCBox->hide();
}

bool TTilesForm::inTerrainEdit() const { return !ui->TerrainCBox->isHidden(); }

void TTilesForm::RadioGroup1Click()
{
    const int chosen = setButtons->checkedId();
    if (chosen == paint_.pick().set)
        return;
    paint_.setPick({chosen, -1});
}

// In terrain-edit mode a click rewrites the tile's default terrain and leaves nothing picked.
void TTilesForm::TileImageClick(Qt::KeyboardModifiers, int X, int Y)
{
    const int tile = TileAtPixel(X, Y);
    if (tile > LastTile)
        return; // the strip right of the last column and below the last row holds no tile
    const int set = paint_.pick().set;
    if (inTerrainEdit()) {
        settings_.defaultTerrain[set][tile] = char('0' + ui->TerrainCBox->currentIndex());
        paint_.setPick({set, -1});
        return;
    }
    paint_.setPick({set, tile});
}

void TTilesForm::TileImageMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    if (std::abs(X - hoverPosition.x()) <= HoverStep && std::abs(Y - hoverPosition.y()) <= HoverStep)
        return;
    hoverPosition = {X, Y};
    const int tile = TileAtPixel(X, Y);
    if (tile > LastTile)
        return;
    ui->WhereLbl->setText(QStringLiteral("#%1  %2").arg(tile).arg(
        QString::fromLatin1(TerrainName(DefaultTerrainOf(settings_.defaultTerrain, paint_.pick().set, tile)))));
    ui->WhereLbl->repaint();
}
