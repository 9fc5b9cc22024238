#include "Shrink.h"

#include "Enhance.h"
#include "Help.h"
#include "ui_Shrink.h"

#include "core/Batch.h"
#include "core/BmpFile.h"
#include "core/EnhanceColor.h"
#include "core/IntText.h"
#include "core/PixelOps.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

using namespace dovrel;

TSetsForm *SetsForm = nullptr;

namespace {

// The hourglass for the length of one operation.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

const QString BitmapFilter = QStringLiteral("Windows Bitmap (*.bmp)|*.bmp");

} // namespace

TSetsForm::TSetsForm(QWidget *parent) : QWidget(parent), ui(new Ui::TSetsForm)
{
    ui->setupUi(this);
    // The spinner's own edit box is the set number's edit box.
    if (QLineEdit *edit = ui->UpDown1->findChild<QLineEdit *>())
        edit->setObjectName(QStringLiteral("Edit1"));
    ui->LargeImage->setImage(MakeCanvas(LargeWidth, LargeHeight));
    ui->SmallImage->setImage(MakeCanvas(SmallWidth, SmallHeight));

    connect(ui->AutoBtn, &QPushButton::clicked, this, &TSetsForm::AutoBtnClick);
    connect(ui->HelpBtn, &QPushButton::clicked, this, &TSetsForm::HelpBtnClick);
    connect(ui->SetupBtn, &QPushButton::clicked, this, &TSetsForm::SetupBtnClick);
    connect(ui->LoadBtn, &QPushButton::clicked, this, &TSetsForm::LoadBtnClick);
    connect(ui->SaveBtn, &QPushButton::clicked, this, &TSetsForm::SaveBtnClick);
    connect(ui->SaveLBtn, &QPushButton::clicked, this, &TSetsForm::SaveLBtnClick);
    connect(ui->ShrinkBtn, &QPushButton::clicked, this, &TSetsForm::ShrinkBtnClick);
    connect(ui->LinesBtn, &QPushButton::clicked, this, &TSetsForm::LinesBtnClick);
    connect(ui->GenerateBtn, &QPushButton::clicked, this, &TSetsForm::GenerateBtnClick);
    connect(ui->BleedBtn, &QPushButton::clicked, this, &TSetsForm::BleedBtnClick);
    connect(ui->FillBtn, &QPushButton::clicked, this, &TSetsForm::FillBtnClick);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TSetsForm::~TSetsForm()
{
    if (SetsForm == this)
        SetsForm = nullptr;
    delete ui;
}

QImage &TSetsForm::largeImage() { return ui->LargeImage->image(); }
QImage &TSetsForm::smallImage() { return ui->SmallImage->image(); }

void TSetsForm::FormCreate()
{
    // The start-up picture: three words on aqua boxes, in red.
    {
        QImage &large = largeImage();
        QPainter painter(&large);
        QFont font(QStringLiteral("MS Serif"));
        font.setStyleHint(QFont::Serif);
        font.setPointSize(24);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        const QColor aqua = QColor::fromRgb(ToRgb(0x00FFFF00));
        const QColor red = QColor::fromRgb(ToRgb(0x000000FF));
        const QPoint places[3] = {{60, 30}, {60, 80}, {60, 130}};
        const QString words[3] = {QStringLiteral("Vantor"), QStringLiteral("Graphics"), QStringLiteral("Generator")};
        for (int i = 0; i < 3; ++i) {
            const QRect box(places[i], QSize(metrics.horizontalAdvance(words[i]), metrics.height()));
            painter.fillRect(box, aqua);
            painter.setPen(red);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, words[i]);
        }
    }
    ui->LargeImage->update();
    LinesBtnClick();
}

std::optional<ColorValue> TSetsForm::backgroundColor()
{
    QString error;
    const std::optional<ColorValue> color = ParseColorText(ui->BackEdit->text(), &error);
    if (!color)
        Dialogs().showError(this, error);
    return color;
}

void TSetsForm::saveWithDialog(const QImage &image, const QString &title)
{
    SaveDialog1 = {title, BitmapFilter, QStringLiteral("bmp")};
    const QString path = Dialogs().saveFile(this, SaveDialog1);
    QString error;
    if (!path.isEmpty() && !SaveBmp24(image, path, &error))
        Dialogs().showError(this, error);
}

void TSetsForm::LoadBtnClick()
{
    OpenDialog1.filter = QStringLiteral("Windows Bitmaps (*.bmp)|*.bmp");
    OpenDialog1.title = QStringLiteral("Load Large Bitmap");
    OpenDialog1.defaultExt.clear();
    const QString path = Dialogs().openFile(this, OpenDialog1);
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<QImage> image = LoadBitmap(path, &error);
    if (!image) {
        Dialogs().showError(this, error);
        return;
    }
    ui->LargeImage->setImage(*image);
}

void TSetsForm::SaveBtnClick() { saveWithDialog(smallImage(), QStringLiteral("Save Small Bitmap")); }

void TSetsForm::SaveLBtnClick() { saveWithDialog(largeImage(), QStringLiteral("Save Large Bitmap")); }

EnhanceSettings TSetsForm::enhanceSettings() const
{
    return EnhanceForm ? EnhanceForm->settings() : EnhanceSettings{};
}

void TSetsForm::ShrinkBtnClick()
{
    BusyCursor busy;
    const EnhanceSettings settings = enhanceSettings();
    Shrink(largeImage(), smallImage(), ui->EnhanceCB->isChecked() ? &settings : nullptr, smallRowRepainter());
}

std::function<void(int)> TSetsForm::smallRowRepainter()
{
    ImageCanvas *canvas = ui->SmallImage;
    return [canvas](int row) { canvas->repaint(0, row, canvas->width(), 1); };
}

void TSetsForm::LinesBtnClick()
{
    const std::optional<ColorValue> color = backgroundColor();
    if (!color)
        return;
    Lines(smallImage(), *color);
    ui->SmallImage->update();
}

void TSetsForm::FillBtnClick()
{
    // Fill takes its colours from the tiles, but like the other outline
    // operations it refuses to run on a background text that is not a number.
    if (!backgroundColor())
        return;
    Fill(smallImage());
    ui->SmallImage->update();
}

void TSetsForm::BleedBtnClick()
{
    const std::optional<ColorValue> color = backgroundColor();
    if (!color)
        return;
    BusyCursor busy;
    Bleed(largeImage(), *color);
    ui->LargeImage->update();
}

bool TSetsForm::openArchive(ArchiveFile &archive)
{
    if (archive.open(QString::fromLatin1(ArchiveFileName)))
        return true;
    // The archive is not in the current folder: let the user point at it.
    OpenDialog1.title = QStringLiteral("Where is the tile archive til.pfp?");
    OpenDialog1.filter = QStringLiteral("Tile Archive (*.pfp)|*.pfp|All Files (*)|*");
    OpenDialog1.defaultExt.clear();
    const bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (busy)
        QGuiApplication::restoreOverrideCursor();
    const QString path = Dialogs().openFile(this, OpenDialog1);
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (path.isEmpty())
        return false;
    QString error;
    if (!archive.open(path, &error)) {
        Dialogs().showError(this, error);
        return false;
    }
    return true;
}

std::function<void()> TSetsForm::largeTileRepainter()
{
    // Tiles arrive in order, so a count tells which cell the last one filled.
    ImageCanvas *canvas = ui->LargeImage;
    return [canvas, tile = 0]() mutable {
        const int column = tile % LargeColumns, row = tile / LargeColumns;
        if (row < LargeRows)
            canvas->repaint(LargeTileX(column), LargeTileY(column, row), LargeTileStepX + 16, LargeTileStepY + 4);
        ++tile;
    };
}

void TSetsForm::showGenerated()
{
    ui->LargeImage->update();
    ui->Back1Lbl->setText(ColorHexText(PixelColor(largeImage(), 1, 1)));
}

void TSetsForm::GenerateBtnClick()
{
    const std::optional<ColorValue> color = backgroundColor();
    if (!color)
        return;
    BusyCursor busy;
    QImage &large = largeImage();
    large.fill(ToRgb(*color));
    ui->LargeImage->repaint();

    // Generate on its own looks for the archive each time; without one the image stays background.
    ArchiveFile archive;
    if (!openArchive(archive))
        return;
    ArchiveStream stream = archive.stream();
    const DecodeReport report = DecodeSet(stream, ui->UpDown1->value(), large, m_decoder, largeTileRepainter());
    showGenerated();
    if (!report.complete)
        Dialogs().showError(this, QStringLiteral("%1 The set was drawn as far as it was read.").arg(report.problem));
}

void TSetsForm::setButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {ui->AutoBtn, ui->LoadBtn, ui->SaveBtn, ui->SaveLBtn, ui->ShrinkBtn, ui->LinesBtn,
                                ui->GenerateBtn, ui->BleedBtn, ui->FillBtn})
        button->setEnabled(enabled);
    ui->UpDown1->setEnabled(enabled);
}

bool TSetsForm::startBatchSet(int set, int index, int total, SetSteps &steps)
{
    if (m_batchCancelled)
        return false;
    ui->ProgressLbl->setText(QStringLiteral("Set %1 of %2").arg(index + 1).arg(total));
    ui->UpDown1->setValue(set);
    repaint();
    // The controls as they are now: the user may change them between two sets.
    const std::optional<ColorValue> color = backgroundColor();
    if (!color)
        return false;
    steps.background = *color;
    steps.saveSmall = ui->SaveSCB->isChecked();
    steps.saveLarge = ui->SaveLCB->isChecked();
    steps.lines = ui->LinesCB->isChecked();
    steps.enhance = ui->EnhanceCB->isChecked();
    steps.enhancement = enhanceSettings();
    return true;
}

void TSetsForm::AutoBtnClick()
{
    if (m_batchRunning)
        return;
    m_batchRunning = true;
    m_batchCancelled = false;
    // The batch lets window messages through after each set; the buttons that
    // would start another operation in the middle of it wait until it ends.
    setButtonsEnabled(false);
    // The archive is found (or asked for) once: without it the batch writes nothing, so the sets
    // already there stay as they are.
    BatchResult result;
    ArchiveFile archive;
    if (openArchive(archive)) {
        BusyCursor busy;
        BatchObserver observer;
        observer.beforeSet = [this](int set, int index, int total, SetSteps &steps) {
            return startBatchSet(set, index, total, steps);
        };
        std::function<void()> repaintTile;
        observer.stepDone = [this, &repaintTile](BatchStep step) {
            switch (step) {
            case BatchStep::LargeFilled:
                ui->LargeImage->repaint();
                repaintTile = largeTileRepainter(); // the tiles of the new set count from 0
                break;
            case BatchStep::Generated: showGenerated(); break;
            case BatchStep::SmallDrawn: ui->SmallImage->repaint(); break;
            }
        };
        observer.afterTile = [&repaintTile] { repaintTile(); };
        observer.afterRow = smallRowRepainter();
        result = RunBatch(archive.stream(), BatchOptions{}, m_decoder, largeImage(), smallImage(), observer);
    }
    if (!result.error.isEmpty())
        Dialogs().showError(this, result.error);
    setButtonsEnabled(true);
    m_batchRunning = false;

    if (result.setsDone < TileSetCount || m_batchCancelled)
        ui->ProgressLbl->setText(QStringLiteral("Stopped after %1 of %2 sets").arg(result.setsDone).arg(TileSetCount));
    else if (!result.written.isEmpty())
        ui->ProgressLbl->setText(QStringLiteral("Done: %1 files written").arg(result.written.size()));
    else
        ui->ProgressLbl->setText(QStringLiteral("Done: %1 sets shown, no files written").arg(result.setsDone));
    if (!result.problems.isEmpty())
        Dialogs().showError(this, QStringLiteral("Some tile sets were read only in part and were made from what could be read:\n\n%1")
                                      .arg(result.problems.join(QLatin1Char('\n'))));
}

void TSetsForm::HelpBtnClick()
{
    if (HelpForm) {
        HelpForm->show();
        HelpForm->raise();
    }
}

void TSetsForm::SetupBtnClick()
{
    if (EnhanceForm) {
        EnhanceForm->show();
        EnhanceForm->raise();
    }
}

void TSetsForm::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program: a running batch stops after
    // the set in hand, and the tool windows close with it.
    m_batchCancelled = true;
    if (HelpForm)
        HelpForm->close();
    if (EnhanceForm)
        EnhanceForm->close();
    event->accept();
}
