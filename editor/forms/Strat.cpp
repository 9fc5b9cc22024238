#include "Strat.h"

#include "ui_StratForm.h"

#include "windows.h"

#include "render/picture_files.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

using namespace vantor;

// Drawn over the overview rather than into it, so that the picture saved is the map alone.
class TStratForm::ViewFrame : public QWidget {
public:
    explicit ViewFrame(QWidget &picture)
        : QWidget(&picture)
    {
        setObjectName(QStringLiteral("StratViewFrame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(picture.size());
    }

    QRectF area() const { return area_; }
    void setArea(const QRectF &area)
    {
        if (area == area_)
            return;
        area_ = area;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (area_.isEmpty())
            return;
        QPainter painter(this);
        // Two pixels wide, inside the area, so that the frame never hides the hexes past it.
        painter.setPen(QPen(Qt::red, 2));
        const QRectF inside = area_.adjusted(1, 1, -1, -1);
        painter.drawRect(inside.width() > 0 && inside.height() > 0 ? inside : area_);
    }

private:
    QRectF area_;
};

TStratForm::TStratForm(const MapDocument &document, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TStratForm>())
    , document_(document)
    , StratIL(LoadStrategicIcons())
{
    ui->setupUi(this);
    ui->StratImage->setPictureSize(StrategicMapSize, StrategicMapSize);
    viewFrame_ = new ViewFrame(*ui->StratImage);
    ui->StratImage->installEventFilter(this);
    connect(ui->StratImage, &PictureBox::mouseMoved, this, &TStratForm::StratImageMouseMove);
    connect(ui->SaveBtn, &QPushButton::clicked, this, &TStratForm::SaveBtnClick);
    connect(&document_, &MapDocument::hexesChanged, this, &TStratForm::drawHexes);
    connect(&document_, &MapDocument::mapReset, this, &TStratForm::ShowStratMapBtnClick);
    ShowStratMapBtnClick();
    CentreOnScreen(*this);
}

TStratForm::~TStratForm() = default;

const QImage &TStratForm::picture() const { return ui->StratImage->picture(); }

QRectF TStratForm::viewFrame() const { return viewFrame_->area(); }

void TStratForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ShowStratMapBtnClick();
}

void TStratForm::ShowStratMapBtnClick()
{
    ui->StratImage->picture() = DrawStrategicMap(document_.map(), StratIL);
    ui->StratImage->update();
}

void TStratForm::drawHexes(const std::vector<HexCoord> &hexes)
{
    DrawStrategicHexes(ui->StratImage->picture(), document_.map(), StratIL, hexes);
    ui->StratImage->update();
}

void TStratForm::showViewArea(const QRectF &pictureArea) { viewFrame_->setArea(StrategicAreaOf(pictureArea)); }

// Any button pressed on the overview, and held while dragging, takes the main view along.
bool TStratForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->StratImage && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->buttons() != Qt::NoButton)
            emit pointPicked(MapPicturePointAt(ui->StratImage->toPicture(mouse->position()), document_.map()));
    }
    return QWidget::eventFilter(watched, event);
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
