#include "Strat.h"

#include "ui_StratForm.h"

#include "windows.h"

#include "Map.h"

#include "files/file_io.h"
#include "model/editor_state.h"
#include "render/picture_files.h"

#include <QDir>
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

using namespace vantor;

TStratForm *StratForm = nullptr;

TStratForm::TStratForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TStratForm>())
    , StratIL(LoadStrategicIcons())
{
    ui->setupUi(this);
    ui->StratImage->setPictureSize(StrategicMapSize, StrategicMapSize);
    connect(ui->StratImage, &PictureBox::mouseMoved, this, &TStratForm::StratImageMouseMove);
    connect(ui->StratImage, &PictureBox::mouseDown, this, &TStratForm::StratImageMouseDown);
    connect(ui->SaveBtn, &QPushButton::clicked, this, &TStratForm::SaveBtnClick);
    CentreOnScreen(*this);
}

TStratForm::~TStratForm() = default;

const QImage &TStratForm::picture() const { return ui->StratImage->picture(); }

void TStratForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ShowStratMapBtnClick();
}

void TStratForm::ShowStratMapBtnClick()
{
    ui->StratImage->picture() = DrawStrategicMap(Map, StratIL);
    ui->StratImage->repaint();
}

// Below the last row there is no hex and so no terrain to name.
void TStratForm::StratImageMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    const std::optional<HexCoord> hex = StrategicHexAt(X, Y, Map);
    if (!hex)
        return;
    const QString position = QStringLiteral("%1,%2").arg(hex->x).arg(hex->y);
    if (position == ui->StratXYLbl->text())
        return;
    ui->StratXYLbl->setText(position);
    ui->StratTerLbl->setText(QString::fromLatin1(TerrainName(Map.at(Terrain, hex->x, hex->y))));
    ui->StratXYLbl->repaint();
    ui->StratTerLbl->repaint();
}

// Scrolls the main map so that the hex lands about half a view from its top-left corner.
void TStratForm::StratImageMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    const int x = (X / StrategicIconSize) % Map.MapWidth;
    const int y = x % 2 == 1 ? (Y - 3) / StrategicIconSize : Y / StrategicIconSize;
    QScrollArea &box = MapForm->mapScrollBox();
    const int shiftedY = y - box.height() / 80;
    const int shiftedX = x - box.width() / 96;
    // The range of a scroll bar is the whole length of the picture; the bar keeps the position in bounds.
    const QSize range = MapForm->mapPicture().size();
    box.verticalScrollBar()->setValue(range.height() * shiftedY / Map.MapHeight);
    box.horizontalScrollBar()->setValue(range.width() * shiftedX / Map.MapWidth);
}

void TStratForm::SaveBtnClick()
{
    StratSaveDlg.filter = QLatin1String(PictureSaveFilter);
    StratSaveDlg.defaultExt = QStringLiteral(".BMP");
    const QString fileName = Dialogs().saveFileName(this, StratSaveDlg);
    if (fileName.isEmpty())
        return;
    if (const QString error = WritePictureFile(fileName, picture()); !error.isEmpty())
        Dialogs().showError(this, error);
}
