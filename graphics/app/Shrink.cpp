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
#include <QDir>
#include <QFile>
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

bool TSetsForm::saveImage(const QImage &image, const QString &path)
{
    QString error;
    if (SaveBmp24(image, path, &error))
        return true;
    Dialogs().showError(this, error);
    return false;
}

void TSetsForm::saveWithDialog(const QImage &image, const QString &title)
{
    SaveDialog1 = {title, BitmapFilter, QStringLiteral("bmp")};
    const QString path = Dialogs().saveFile(this, SaveDialog1);
    if (!path.isEmpty())
        saveImage(image, path);
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

void TSetsForm::ShrinkBtnClick()
{
    BusyCursor busy;
    const EnhanceSettings settings = EnhanceForm ? EnhanceForm->settings() : EnhanceSettings{};
    const bool enhance = ui->EnhanceCB->isChecked();
    ImageCanvas *canvas = ui->SmallImage;
    Shrink(largeImage(), smallImage(), enhance ? &settings : nullptr,
           [canvas](int row) { canvas->repaint(0, row, canvas->width(), 1); });
}

bool TSetsForm::lines()
{
    const std::optional<ColorValue> color = backgroundColor();
    if (!color)
        return false;
    Lines(smallImage(), *color);
    ui->SmallImage->update();
    return true;
}

void TSetsForm::LinesBtnClick() { lines(); }

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

bool TSetsForm::generate(QStringList *problems, ArchiveFile *batchArchive)
{
    const std::optional<ColorValue> color = backgroundColor();
    if (!color)
        return false;
    BusyCursor busy;
    QImage &large = largeImage();
    large.fill(ToRgb(*color));
    ui->LargeImage->repaint();

    // Generate on its own looks for the archive each time; without one the image stays background.
    ArchiveFile ownArchive;
    ArchiveFile &archive = batchArchive ? *batchArchive : ownArchive;
    if (!batchArchive && !openArchive(ownArchive))
        return true;

    ArchiveStream stream = archive.stream();
    const int set = ui->UpDown1->value();
    ImageCanvas *canvas = ui->LargeImage;
    int tile = 0;
    const DecodeReport report = DecodeSet(stream, set, large, m_decoder, [canvas, &tile]() {
        const int column = tile % LargeColumns, row = tile / LargeColumns;
        if (row < LargeRows)
            canvas->repaint(LargeTileX(column), LargeTileY(column, row), LargeTileStepX + 16, LargeTileStepY + 4);
        ++tile;
    });
    ui->LargeImage->update();
    ui->Back1Lbl->setText(ColorHexText(PixelColor(large, 1, 1)));
    if (!report.complete) {
        const QString message = QStringLiteral("%1 The set was drawn as far as it was read.").arg(report.problem);
        if (problems)
            problems->append(report.problem);
        else
            Dialogs().showError(this, message);
    }
    return true;
}

void TSetsForm::GenerateBtnClick() { generate(nullptr); }

void TSetsForm::setButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {ui->AutoBtn, ui->LoadBtn, ui->SaveBtn, ui->SaveLBtn, ui->ShrinkBtn, ui->LinesBtn,
                                ui->GenerateBtn, ui->BleedBtn, ui->FillBtn})
        button->setEnabled(enabled);
    ui->UpDown1->setEnabled(enabled);
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
    QStringList problems;
    int written = 0;
    int done = 0;
    // The archive is found (or asked for) once: without it the batch writes nothing, so the sets
    // already there stay as they are.
    ArchiveFile archive;
    bool stopped = !openArchive(archive);
    for (int set = 0; set < TileSetCount && !stopped && !m_batchCancelled; ++set) {
        ui->ProgressLbl->setText(QStringLiteral("Set %1 of %2").arg(set + 1).arg(TileSetCount));
        ui->UpDown1->setValue(set);
        repaint();
        if (!generate(&problems, &archive)) {
            stopped = true;
            break;
        }
        ShrinkBtnClick();
        if (ui->LinesCB->isChecked() && !lines()) {
            stopped = true;
            break;
        }
        ui->SmallImage->repaint();
        if (ui->SaveSCB->isChecked()) {
            if (!saveImage(smallImage(), SmallSetFileName(set))) {
                stopped = true;
                break;
            }
            ++written;
        }
        if (ui->SaveLCB->isChecked()) {
            if (!saveImage(largeImage(), LargeSetFileName(set))) {
                stopped = true;
                break;
            }
            ++written;
        }
        ++done;
        QCoreApplication::processEvents();
    }
    setButtonsEnabled(true);
    m_batchRunning = false;

    if (stopped || m_batchCancelled)
        ui->ProgressLbl->setText(QStringLiteral("Stopped after %1 of %2 sets").arg(done).arg(TileSetCount));
    else if (written > 0)
        ui->ProgressLbl->setText(QStringLiteral("Done: %1 files written").arg(written));
    else
        ui->ProgressLbl->setText(QStringLiteral("Done: %1 sets shown, no files written").arg(done));
    if (!problems.isEmpty())
        Dialogs().showError(this, QStringLiteral("Some tile sets were read only in part and were made from what could be read:\n\n%1")
                                      .arg(problems.join(QLatin1Char('\n'))));
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
