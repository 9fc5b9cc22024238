#include "Strat.h"

#include "ui_StratForm.h"

#include "windows.h"

#include "render/picture_files.h"

#include <QEvent>

using namespace vantor;

TStratForm::TStratForm(const MapDocument &document, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TStratForm>())
    , document_(document)
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
    ui->StratImage->picture() = DrawStrategicMap(document_.map(), StratIL);
    ui->StratImage->repaint();
}

// Below the last row there is no hex and so no terrain to name.
void TStratForm::StratImageMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    const MapStore &map = document_.map();
    const std::optional<HexCoord> hex = StrategicHexAt(X, Y, map);
    if (!hex)
        return;
    const QString position = QStringLiteral("%1,%2").arg(hex->x).arg(hex->y);
    if (position == ui->StratXYLbl->text())
        return;
    ui->StratXYLbl->setText(position);
    ui->StratTerLbl->setText(QString::fromLatin1(TerrainName(map.at(Terrain, hex->x, hex->y))));
    ui->StratXYLbl->repaint();
    ui->StratTerLbl->repaint();
}

void TStratForm::StratImageMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    const int x = (X / StrategicIconSize) % document_.map().MapWidth;
    const int y = x % 2 == 1 ? (Y - 3) / StrategicIconSize : Y / StrategicIconSize;
    emit hexPicked({x, y});
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
