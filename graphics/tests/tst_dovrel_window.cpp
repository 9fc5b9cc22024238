// Dovrel's windows, clicked through their real widgets on the offscreen platform.

#include "Enhance.h"
#include "Help.h"
#include "Shrink.h"
#include "TestSupport.h"
#include "ui_Enhance.h"
#include "ui_Help.h"
#include "ui_Shrink.h"

#include "core/Batch.h"
#include "core/BmpFile.h"
#include "core/PixelOps.h"
#include "samples/SampleArchive.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

#include <sys/resource.h>

#include <memory>

using namespace dovrel;
using namespace testing;

namespace {
void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

QStringList Bitmaps(const QString &dir) { return QDir(dir).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name); }

// The large image one Generate of `set` makes from the sample archive with a fresh palette.
QImage ExpectedLarge(const QByteArray &archive, int set, ColorValue background = DefaultBackground)
{
    QImage image = MakeCanvas(LargeWidth, LargeHeight);
    ArchiveStream stream = StreamOver(archive);
    DecoderState state;
    GenerateSet(stream, set, image, state, background);
    return image;
}

bool AllOf(const QImage &image, ColorValue color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelColor(image, x, y) != color)
                return false;
    return true;
}
} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private:
    QByteArray m_archive;
    QString m_oldDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TSetsForm> m_sets;
    std::unique_ptr<THelpForm> m_help;
    std::unique_ptr<TEnhanceForm> m_enhance;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    Ui::TSetsForm *ui = nullptr;

    QString archivePath() const { return m_dir->filePath(QString::fromLatin1(ArchiveFileName)); }

private slots:
    void initTestCase()
    {
        m_archive = BuildSampleArchive();
        m_oldDir = QDir::currentPath();
    }
    void init()
    {
        // Every test works in a fresh folder holding the sample archive, as the user would.
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QFile file(archivePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(m_archive);
        file.close();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_sets = std::make_unique<TSetsForm>();
        SetsForm = m_sets.get();
        m_help = std::make_unique<THelpForm>();
        HelpForm = m_help.get();
        m_enhance = std::make_unique<TEnhanceForm>();
        EnhanceForm = m_enhance.get();
        ui = m_sets->ui;
        m_sets->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_sets.get()));
    }
    void cleanup()
    {
        m_enhance.reset();
        m_help.reset();
        m_sets.reset();
        m_dialogs.reset();
        QDir::setCurrent(m_oldDir);
        m_dir.reset();
    }

    void controlsHaveTheirCaptionsHintsAndStartValues();
    void startUpPictureShowsTheTitleAndTheGrid();
    void generateDecodesTheChosenSetAndShowsTheBackground();
    void generateAsksForAMissingArchiveEachTime();
    void textThatIsNotANumberStopsEveryOperationBeforeAnyPixel();
    void shrinkFollowsTheEnhanceBoxAndTheSliders();
    void linesFillAndBleedButtonsWorkOnTheImages();
    void saveButtonsWriteBitmapsAndReportFailures();
    void savesOnAFullDiskKeepTheOldFiles();
    void loadTakesTheBitmapsSizeAndRefusesBrokenFiles();
    void batchWritesTheSameSetsAsTheCommandLine_data();
    void batchWritesTheSameSetsAsTheCommandLine();
    void batchReadsTheControlsAnewForEverySet();
    void batchFileNamesFollowTheSaveBoxes();
    void batchWithoutTheArchiveWritesNothing();
    void enhanceSlidersShowTheirValuesAndTrack();
    void helpAndSetupButtonsShowTheirWindows();
};

void TestWindow::controlsHaveTheirCaptionsHintsAndStartValues()
{
    QCOMPARE(m_sets->windowTitle(), QStringLiteral("Vantor Graphics Generator"));
    QCOMPARE(m_sets->size(), QSize(746, 613));
    const QList<QPair<QAbstractButton *, QString>> buttons = {
        {ui->AutoBtn, " Graphics for Vantor"}, {ui->HelpBtn, "Help"},          {ui->SetupBtn, "Setup"},
        {ui->LoadBtn, "Load"},                 {ui->SaveBtn, "Save Small"},     {ui->SaveLBtn, "Save Large"},
        {ui->ShrinkBtn, "Shrink"},             {ui->LinesBtn, "Lines"},         {ui->GenerateBtn, "Generate"},
        {ui->BleedBtn, "Bleed"},               {ui->FillBtn, "Fill"},
    };
    for (const auto &[button, text] : buttons) {
        QCOMPARE(button->text(), text);
        QVERIFY(button->isVisible() && button->isEnabled());
    }
    QCOMPARE(ui->AutoBtn->toolTip(), QStringLiteral("Generate the complete set of graphic for Vantor"));
    QCOMPARE(ui->SetupBtn->toolTip(), QStringLiteral("Setup enhancement parameters"));
    QCOMPARE(ui->SaveLCB->text(), QStringLiteral("Save Lg."));
    QVERIFY(!ui->SaveLCB->isChecked());
    QCOMPARE(ui->SaveSCB->text(), QStringLiteral("Save Sm."));
    QVERIFY(ui->SaveSCB->isChecked());
    QCOMPARE(ui->LinesCB->text(), QStringLiteral("Lines"));
    QVERIFY(ui->LinesCB->isChecked());
    QCOMPARE(ui->EnhanceCB->text(), QStringLiteral("Enhance"));
    QVERIFY(ui->EnhanceCB->isChecked());
    QCOMPARE(ui->Back1->text(), QStringLiteral("Background"));
    QCOMPARE(ui->BackEdit->text(), QStringLiteral("0x38B8A0"));
    QCOMPARE(ui->Back1Lbl->text(), QStringLiteral("0"));
    QCOMPARE(ui->UpDown1->minimum(), 0);
    QCOMPARE(ui->UpDown1->maximum(), 15);
    QCOMPARE(ui->UpDown1->value(), 0);
    QVERIFY(!ui->UpDown1->wrapping());
    QLineEdit *edit1 = m_sets->findChild<QLineEdit *>(QStringLiteral("Edit1"));
    QVERIFY(edit1);
    QCOMPARE(edit1->text(), QStringLiteral("0"));
    QCOMPARE(ui->LargeImage->size(), QSize(LargeWidth, LargeHeight));
    QCOMPARE(ui->SmallImage->size(), QSize(SmallWidth, SmallHeight));
    // The spinner stops at its ends.
    ui->UpDown1->setFocus();
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(ui->UpDown1, Qt::Key_Up);
    QCOMPARE(ui->UpDown1->value(), 15);
    QCOMPARE(edit1->text(), QStringLiteral("15"));
}

void TestWindow::startUpPictureShowsTheTitleAndTheGrid()
{
    const QImage &large = m_sets->largeImage();
    QCOMPARE(PixelColor(large, 60, 30), ColorValue(0xFFFF00)); // aqua box corner of "Vantor"
    QCOMPARE(PixelColor(large, 60, 130), ColorValue(0xFFFF00));
    int red = 0, aqua = 0;
    for (int y = 30; y < 200; ++y)
        for (int x = 60; x < 300; ++x) {
            const ColorValue c = PixelColor(large, x, y);
            red += c == 0x0000FF;
            aqua += c == 0xFFFF00;
        }
    QVERIFY(red > 100);
    QVERIFY(aqua > 1000);
    QCOMPARE(PixelColor(large, 300, 500), ColorValue(0xFFFFFF));
    // The grid on the white small image, in the background colour.
    QImage expected = MakeCanvas(SmallWidth, SmallHeight);
    Lines(expected, DefaultBackground);
    QCOMPARE(m_sets->smallImage(), expected);
}

void TestWindow::generateDecodesTheChosenSetAndShowsTheBackground()
{
    ui->UpDown1->setValue(2);
    Click(ui->GenerateBtn);
    QCOMPARE(m_sets->largeImage(), ExpectedLarge(m_archive, 2));
    QCOMPARE(ui->Back1Lbl->text(), QStringLiteral("38B8A0"));
    QVERIFY(m_dialogs->errors.isEmpty());
    QVERIFY(m_dialogs->openShown.isEmpty());

    ui->BackEdit->setText(QStringLiteral("$123456"));
    ui->UpDown1->setValue(7);
    Click(ui->GenerateBtn);
    QCOMPARE(m_sets->largeImage(), ExpectedLarge(m_archive, 7, 0x123456));
    QCOMPARE(ui->Back1Lbl->text(), QStringLiteral("123456"));
}

void TestWindow::generateAsksForAMissingArchiveEachTime()
{
    const QString elsewhere = m_dir->filePath(QStringLiteral("game.pfp"));
    QVERIFY(QFile::rename(archivePath(), elsewhere));

    Click(ui->GenerateBtn); // cancelled: the image is the background only
    QCOMPARE(m_dialogs->openShown.size(), 1);
    QCOMPARE(m_dialogs->openShown[0].title, QStringLiteral("Where is the tile archive til.pfp?"));
    QVERIFY(m_dialogs->openShown[0].filter.contains(QStringLiteral("*.pfp")));
    QVERIFY(AllOf(m_sets->largeImage(), DefaultBackground));
    QCOMPARE(ui->Back1Lbl->text(), QStringLiteral("0"));

    m_dialogs->fileAnswers = {elsewhere};
    ui->UpDown1->setValue(5);
    Click(ui->GenerateBtn);
    QCOMPARE(m_dialogs->openShown.size(), 2);
    QCOMPARE(m_sets->largeImage(), ExpectedLarge(m_archive, 5));
    QCOMPARE(ui->Back1Lbl->text(), QStringLiteral("38B8A0"));

    // The next Generate looks for til.pfp again, and asks again; an unreadable choice is reported.
    m_dialogs->fileAnswers = {m_dir->filePath(QStringLiteral("nothing.pfp"))};
    Click(ui->GenerateBtn);
    QCOMPARE(m_dialogs->openShown.size(), 3);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors[0].contains(QStringLiteral("nothing.pfp")));

    // A damaged archive: the set is drawn as far as it is read, and the user is told why.
    QFile cut(archivePath());
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(m_archive.left(int(SetSearchOffsets[5]) + 3000));
    cut.close();
    Click(ui->GenerateBtn);
    QCOMPARE(m_dialogs->errors.size(), 2);
    QVERIFY2(m_dialogs->errors[1].startsWith(QStringLiteral("Tile set 5: ")), qPrintable(m_dialogs->errors[1]));
    QVERIFY(!AllOf(m_sets->largeImage(), DefaultBackground));
}

void TestWindow::textThatIsNotANumberStopsEveryOperationBeforeAnyPixel()
{
    Click(ui->GenerateBtn);
    const QImage large = m_sets->largeImage().copy();
    const QImage small = m_sets->smallImage().copy();
    ui->BackEdit->setText(QStringLiteral("zz"));
    for (QAbstractButton *button : {ui->GenerateBtn, ui->LinesBtn, ui->FillBtn, ui->BleedBtn, static_cast<QPushButton *>(ui->AutoBtn)})
        Click(button);
    QCOMPARE(m_dialogs->errors.size(), 5);
    for (const QString &error : std::as_const(m_dialogs->errors))
        QCOMPARE(error, QStringLiteral("'zz' is not a valid integer value"));
    QCOMPARE(m_sets->largeImage(), large);
    QCOMPARE(m_sets->smallImage(), small);
    QVERIFY(Bitmaps(m_dir->path()).isEmpty());
    QVERIFY(ui->AutoBtn->isEnabled());
    QVERIFY(ui->ProgressLbl->text().startsWith(QStringLiteral("Stopped after 0 of 16")));
}

void TestWindow::shrinkFollowsTheEnhanceBoxAndTheSliders()
{
    ui->UpDown1->setValue(6);
    Click(ui->GenerateBtn);
    const QImage large = m_sets->largeImage().copy();

    Click(ui->ShrinkBtn);
    QImage expected = MakeCanvas(SmallWidth, SmallHeight);
    const EnhanceSettings start;
    Shrink(large, expected, &start);
    QCOMPARE(m_sets->smallImage(), expected);

    m_enhance->ui->RedTB->setValue(-100);
    m_enhance->ui->MinTB->setValue(0);
    Click(ui->ShrinkBtn);
    const EnhanceSettings moved{100, 20, 20, 0};
    Shrink(large, expected, &moved);
    QCOMPARE(m_sets->smallImage(), expected);

    ui->EnhanceCB->setChecked(false);
    Click(ui->ShrinkBtn);
    Shrink(large, expected, nullptr);
    QCOMPARE(m_sets->smallImage(), expected);
}

void TestWindow::linesFillAndBleedButtonsWorkOnTheImages()
{
    ui->UpDown1->setValue(1);
    Click(ui->GenerateBtn);
    Click(ui->ShrinkBtn);
    QImage small = m_sets->smallImage().copy();
    Click(ui->LinesBtn);
    Lines(small, DefaultBackground);
    QCOMPARE(m_sets->smallImage(), small);
    Click(ui->FillBtn);
    Fill(small);
    QCOMPARE(m_sets->smallImage(), small);

    QImage large = m_sets->largeImage().copy();
    Click(ui->BleedBtn);
    Click(ui->BleedBtn);
    Bleed(large, DefaultBackground);
    Bleed(large, DefaultBackground);
    QCOMPARE(m_sets->largeImage(), large);
    QVERIFY(m_dialogs->errors.isEmpty());
}

void TestWindow::saveButtonsWriteBitmapsAndReportFailures()
{
    const QString smallPath = m_dir->filePath(QStringLiteral("mine.bmp"));
    const QString largePath = m_dir->filePath(QStringLiteral("big.bmp"));
    m_dialogs->fileAnswers = {smallPath, largePath};
    Click(ui->SaveBtn);
    Click(ui->SaveLBtn);
    QCOMPARE(m_dialogs->saveShown.size(), 2);
    QCOMPARE(m_dialogs->saveShown[0].title, QStringLiteral("Save Small Bitmap"));
    QCOMPARE(m_dialogs->saveShown[1].title, QStringLiteral("Save Large Bitmap"));
    for (const FileDialogSettings &s : std::as_const(m_dialogs->saveShown)) {
        QCOMPARE(s.filter, QStringLiteral("Windows Bitmap (*.bmp)|*.bmp"));
        QCOMPARE(s.defaultExt, QStringLiteral("bmp"));
    }
    QVERIFY(ReadFile(smallPath) == EncodeBmp24(m_sets->smallImage()));
    QVERIFY(ReadFile(largePath) == EncodeBmp24(m_sets->largeImage()));

    // Cancelled: nothing written. Failed: the message names the file.
    Click(ui->SaveBtn);
    QCOMPARE(Bitmaps(m_dir->path()).size(), 2);
    const QString bad = m_dir->filePath(QStringLiteral("missing/x.bmp"));
    m_dialogs->fileAnswers = {bad};
    Click(ui->SaveBtn);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors[0].contains(bad));
    QCOMPARE(QtNameFilters(QStringLiteral("Windows Bitmap (*.bmp)|*.bmp")), QStringLiteral("Windows Bitmap (*.bmp)"));
    QCOMPARE(QtNameFilters(QStringLiteral("Tile Archive|*.pfp|All|*")), QStringLiteral("Tile Archive (*.pfp);;All (*)"));
}

void TestWindow::savesOnAFullDiskKeepTheOldFiles()
{
    const QByteArray previous = "the bitmap that stood here before";
    const QStringList names = {QStringLiteral("mine.bmp"), QStringLiteral("big.bmp"), SmallSetFileName(0)};
    for (const QString &name : names) {
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(previous);
    }
    m_dialogs->fileAnswers = {m_dir->filePath(names[0]), m_dir->filePath(names[1])};
    {
        // No file may grow past 1 KiB, as on a full disk (root included); a write past it fails.
        struct rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit full = saved;
        full.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
        Click(ui->SaveBtn);
        Click(ui->SaveLBtn);
        Click(ui->AutoBtn);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    QCOMPARE(m_dialogs->errors.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(m_dialogs->errors[i].contains(names[i]), qPrintable(m_dialogs->errors[i]));
        QVERIFY2(m_dialogs->errors[i].contains(QLatin1String("full")), qPrintable(m_dialogs->errors[i]));
        QCOMPARE(ReadFile(m_dir->filePath(names[i])), previous);
    }
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Stopped after 0 of 16 sets"));
}

void TestWindow::loadTakesTheBitmapsSizeAndRefusesBrokenFiles()
{
    QImage picture = MakeCanvas(100, 50);
    picture.fill(ToRgb(0x00FF00));
    SetPixelColor(picture, 99, 49, 0x0000FF);
    const QString path = m_dir->filePath(QStringLiteral("SetL03.bmp"));
    QString error;
    QVERIFY(SaveBmp24(picture, path, &error));

    m_dialogs->fileAnswers = {path};
    Click(ui->LoadBtn);
    QCOMPARE(m_dialogs->openShown.size(), 1);
    QCOMPARE(m_dialogs->openShown[0].title, QStringLiteral("Load Large Bitmap"));
    QCOMPARE(m_dialogs->openShown[0].filter, QStringLiteral("Windows Bitmaps (*.bmp)|*.bmp"));
    QCOMPARE(m_sets->largeImage(), picture);
    QCOMPARE(ui->LargeImage->size(), QSize(100, 50));

    // Shrink reads white beyond the loaded bitmap; Generate keeps the bitmap's size.
    Click(ui->ShrinkBtn);
    QCOMPARE(PixelColor(m_sets->smallImage(), 300, 400), ColorValue(0xFFFFFF));
    Click(ui->GenerateBtn);
    QCOMPARE(m_sets->largeImage().size(), QSize(100, 50));

    const QString broken = m_dir->filePath(QStringLiteral("broken.bmp"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("BM nothing");
    file.close();
    const QImage before = m_sets->largeImage().copy();
    m_dialogs->fileAnswers = {broken};
    Click(ui->LoadBtn);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors[0].contains(broken));
    QCOMPARE(m_sets->largeImage(), before);
}

void TestWindow::batchWritesTheSameSetsAsTheCommandLine_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<bool>("large");
    QTest::addColumn<bool>("lines");
    QTest::addColumn<bool>("enhance");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QList<int>>("sliders"); // red, green, blue, min
    QTest::newRow("start values") << true << false << true << true << "0x38B8A0" << QList<int>{20, 20, 20, 20};
    QTest::newRow("both sizes, no lines, moved sliders")
        << true << true << false << true << "$0000FF" << QList<int>{50, 0, 35, 10};
    QTest::newRow("large only, not enhanced") << false << true << true << false << "1056816" << QList<int>{100, 100, 100, 100};
}

void TestWindow::batchWritesTheSameSetsAsTheCommandLine()
{
    QFETCH(bool, small);
    QFETCH(bool, large);
    QFETCH(bool, lines);
    QFETCH(bool, enhance);
    QFETCH(QString, background);
    QFETCH(QList<int>, sliders);

    // The window's controls, and the same settings as dovrel-cli's options.
    ui->SaveSCB->setChecked(small);
    ui->SaveLCB->setChecked(large);
    ui->LinesCB->setChecked(lines);
    ui->EnhanceCB->setChecked(enhance);
    ui->BackEdit->setText(background);
    QStringList args = {QStringLiteral("generate"), archivePath(), QStringLiteral("--background"), background};
    const QList<QPair<QSlider *, QString>> sliderOptions = {{m_enhance->ui->RedTB, QStringLiteral("--red")},
                                                          {m_enhance->ui->GreenTB, QStringLiteral("--green")},
                                                          {m_enhance->ui->BlueTB, QStringLiteral("--blue")},
                                                          {m_enhance->ui->MinTB, QStringLiteral("--min")}};
    for (int i = 0; i < 4; ++i) {
        sliderOptions[i].first->setValue(-sliders[i]);
        args << sliderOptions[i].second << QString::number(sliders[i]);
    }
    if (!small)
        args << QStringLiteral("--no-small");
    if (large)
        args << QStringLiteral("--large");
    if (!lines)
        args << QStringLiteral("--no-lines");
    if (!enhance)
        args << QStringLiteral("--no-enhance");

    Click(ui->AutoBtn);
    QStringList expected;
    for (int s = 0; s < 16; ++s) {
        if (small)
            expected.append(SmallSetFileName(s));
        if (large)
            expected.append(LargeSetFileName(s));
    }
    expected.sort();
    QCOMPARE(Bitmaps(m_dir->path()), expected);
    QCOMPARE(ui->UpDown1->value(), 15);
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Done: %1 files written").arg(expected.size()));
    QVERIFY(m_dialogs->errors.isEmpty());
    QVERIFY(!m_sets->batchRunning());

    QTemporaryDir cliOut;
    QProcess cli;
    cli.start(QStringLiteral(DOVREL_CLI_PATH), args << QStringLiteral("--out") << cliOut.path());
    QVERIFY(cli.waitForFinished(120000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(Bitmaps(cliOut.path()), expected);
    for (const QString &name : expected)
        QVERIFY2(ReadFile(m_dir->filePath(name)) == ReadFile(cliOut.filePath(name)), qPrintable(name));
}

void TestWindow::batchReadsTheControlsAnewForEverySet()
{
    // Changed while the batch lets messages through after set 0: sets 1 on follow the new boxes.
    // The window is the timers' context: a timer the batch never let through dies with it.
    QTimer::singleShot(0, m_sets.get(), [ui = ui] {
        ui->SaveLCB->setChecked(true);
        ui->BackEdit->setText(QStringLiteral("$FF0000"));
    });
    Click(ui->AutoBtn);
    QCOMPARE(Bitmaps(m_dir->path()).size(), 31);
    QVERIFY(!QFile::exists(m_dir->filePath(LargeSetFileName(0))));
    QVERIFY(QFile::exists(m_dir->filePath(LargeSetFileName(1))));
    QString error;
    QCOMPARE(PixelColor(*LoadBitmap(m_dir->filePath(SmallSetFileName(0)), &error), 48, 0), DefaultBackground);
    QCOMPARE(PixelColor(*LoadBitmap(m_dir->filePath(SmallSetFileName(1)), &error), 48, 0), ColorValue(0xFF0000));
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Done: 31 files written"));

    // A background that stops being a number ends the batch before the next set, with the message.
    QTimer::singleShot(0, m_sets.get(), [ui = ui] { ui->BackEdit->setText(QStringLiteral("blue")); });
    ui->BackEdit->setText(QStringLiteral("0x38B8A0"));
    Click(ui->AutoBtn);
    QCOMPARE(m_dialogs->errors, QStringList{QStringLiteral("'blue' is not a valid integer value")});
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Stopped after 1 of 16 sets"));
    QCOMPARE(ui->UpDown1->value(), 1);
    QVERIFY(ui->AutoBtn->isEnabled());
    QCOMPARE(PixelColor(*LoadBitmap(m_dir->filePath(SmallSetFileName(0)), &error), 48, 0), DefaultBackground);
    QCOMPARE(PixelColor(*LoadBitmap(m_dir->filePath(SmallSetFileName(1)), &error), 48, 0), ColorValue(0xFF0000));

    // Closing the window stops the batch after the set in hand.
    QTimer::singleShot(0, m_sets.get(), [sets = m_sets.get()] { sets->close(); });
    ui->BackEdit->setText(QStringLiteral("$FF0000"));
    Click(ui->AutoBtn);
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Stopped after 1 of 16 sets"));
    QCOMPARE(ui->UpDown1->value(), 0);
    QCOMPARE(PixelColor(*LoadBitmap(m_dir->filePath(SmallSetFileName(0)), &error), 48, 0), ColorValue(0xFF0000));
    QCOMPARE(PixelColor(*LoadBitmap(m_dir->filePath(SmallSetFileName(1)), &error), 48, 0), ColorValue(0xFF0000)); // the earlier run's
    QCOMPARE(m_dialogs->errors.size(), 1);
}

void TestWindow::batchFileNamesFollowTheSaveBoxes()
{
    ui->SaveSCB->setChecked(false);
    Click(ui->AutoBtn);
    QVERIFY(Bitmaps(m_dir->path()).isEmpty());
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Done: 16 sets shown, no files written"));

    ui->SaveSCB->setChecked(true);
    ui->SaveLCB->setChecked(true);
    Click(ui->AutoBtn);
    const QStringList files = Bitmaps(m_dir->path());
    QCOMPARE(files.size(), 32);
    QVERIFY(files.contains(QStringLiteral("Set07m.bmp")));
    QVERIFY(files.contains(QStringLiteral("SetL07.bmp")));
    QVERIFY(files.contains(QStringLiteral("SetL15.bmp")));
    QVERIFY(ReadFile(m_dir->filePath(QStringLiteral("SetL15.bmp"))) == EncodeBmp24(m_sets->largeImage()));
    QVERIFY(ReadFile(m_dir->filePath(QStringLiteral("Set15m.bmp"))) == EncodeBmp24(m_sets->smallImage()));

    // A file that cannot be written ends the batch with a message naming it.
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Set03m.bmp"))));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Set03m.bmp")));
    Click(ui->AutoBtn);
    QCOMPARE(m_dialogs->errors.size(), 1);
    QVERIFY(m_dialogs->errors[0].contains(QStringLiteral("Set03m.bmp")));
    QCOMPARE(ui->UpDown1->value(), 3);
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Stopped after 3 of 16 sets"));
}

void TestWindow::batchWithoutTheArchiveWritesNothing()
{
    // Good sets from an earlier run, and no til.pfp in the folder.
    for (int s = 0; s < 16; ++s) {
        QFile old(m_dir->filePath(SmallSetFileName(s)));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("set " + QByteArray::number(s));
    }
    const QString elsewhere = m_dir->filePath(QStringLiteral("game.pfp"));
    QVERIFY(QFile::rename(archivePath(), elsewhere));

    // Cancel: asked once, the batch ends and every set stays byte for byte.
    Click(ui->AutoBtn);
    QCOMPARE(m_dialogs->openShown.size(), 1);
    QCOMPARE(m_dialogs->openShown[0].title, QStringLiteral("Where is the tile archive til.pfp?"));
    for (int s = 0; s < 16; ++s)
        QCOMPARE(ReadFile(m_dir->filePath(SmallSetFileName(s))), "set " + QByteArray::number(s));
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Stopped after 0 of 16 sets"));
    QVERIFY(ui->AutoBtn->isEnabled());

    // Pointing at the archive: asked once for all 16 sets.
    m_dialogs->fileAnswers = {elsewhere};
    Click(ui->AutoBtn);
    QCOMPARE(m_dialogs->openShown.size(), 2);
    QCOMPARE(ui->ProgressLbl->text(), QStringLiteral("Done: 16 files written"));
    QVERIFY(ReadFile(m_dir->filePath(SmallSetFileName(15))) == EncodeBmp24(m_sets->smallImage()));
}

void TestWindow::enhanceSlidersShowTheirValuesAndTrack()
{
    Ui::TEnhanceForm *e = m_enhance->ui;
    QCOMPARE(m_enhance->windowTitle(), QStringLiteral("Enhancemet Setup"));
    QCOMPARE(e->HeadingLbl->text(), QStringLiteral("Brightness Adjust"));
    for (QSlider *slider : {e->RedTB, e->GreenTB, e->BlueTB, e->MinTB}) {
        QCOMPARE(slider->orientation(), Qt::Vertical);
        QCOMPARE(slider->minimum(), -100);
        QCOMPARE(slider->maximum(), 0);
        QCOMPARE(slider->value(), -20);
        QCOMPARE(slider->pageStep(), 10);
        QCOMPARE(slider->tickInterval(), 10);
        QCOMPARE(slider->tickPosition(), QSlider::TicksRight);
        QVERIFY(slider->invertedAppearance()); // the minimum, value 100, at the top
    }
    for (QLabel *label : {e->RedLbl, e->GreenLbl, e->BlueLbl, e->MinLbl})
        QCOMPARE(label->text(), QStringLiteral("20"));
    QCOMPARE(e->RedCapLbl->text(), QStringLiteral("Red"));
    QCOMPARE(e->GreenCapLbl->text(), QStringLiteral("Grn."));
    QCOMPARE(e->BlueCapLbl->text(), QStringLiteral("Blu."));
    QCOMPARE(e->MinCapLbl->text(), QStringLiteral("Min."));
    QVERIFY(!e->TrackCB->isChecked());

    // Untracked: a slider moves only its own label. Page Up moves the handle up by a page.
    m_enhance->show();
    e->GreenTB->setFocus();
    QTest::keyClick(e->GreenTB, Qt::Key_PageUp);
    QCOMPARE(e->GreenTB->value(), -30);
    QCOMPARE(e->GreenLbl->text(), QStringLiteral("30"));
    QCOMPARE(e->RedTB->value(), -20);
    QCOMPARE(e->RedLbl->text(), QStringLiteral("20"));

    // Tracked: moving Blu. to -70 moves Red and Grn. to -70 and all three labels read 70.
    QTest::mouseClick(e->TrackCB, Qt::LeftButton, {}, QPoint(8, e->TrackCB->height() / 2));
    QVERIFY(e->TrackCB->isChecked());
    QSignalSpy redMoves(e->RedTB, &QSlider::valueChanged);
    e->BlueTB->setValue(-70);
    QCOMPARE(e->RedTB->value(), -70);
    QCOMPARE(e->GreenTB->value(), -70);
    QCOMPARE(redMoves.size(), 0); // moved from code: the red handler did not run
    for (QLabel *label : {e->RedLbl, e->GreenLbl, e->BlueLbl})
        QCOMPARE(label->text(), QStringLiteral("70"));
    QCOMPARE(e->MinTB->value(), -20);
    QCOMPARE(e->MinLbl->text(), QStringLiteral("20"));
    e->RedTB->setValue(-5);
    QCOMPARE(e->GreenTB->value(), -5);
    QCOMPARE(e->BlueLbl->text(), QStringLiteral("5"));

    // Min. is never tied to the others.
    e->MinTB->setValue(-100);
    QCOMPARE(e->MinLbl->text(), QStringLiteral("100"));
    QCOMPARE(e->RedTB->value(), -5);
    const EnhanceSettings s = m_enhance->settings();
    QCOMPARE(s.red, 5);
    QCOMPARE(s.green, 5);
    QCOMPARE(s.blue, 5);
    QCOMPARE(s.min, 100);
}

void TestWindow::helpAndSetupButtonsShowTheirWindows()
{
    QVERIFY(!m_help->isVisible());
    QVERIFY(!m_enhance->isVisible());
    Click(ui->HelpBtn);
    QVERIFY(m_help->isVisible());
    QVERIFY(!m_help->isModal());
    QCOMPARE(m_help->windowTitle(), QStringLiteral("Help for Dovrel"));
    QCOMPARE(m_help->size(), QSize(457, 500));
    QCOMPARE(m_help->ui->RichEdit1->size(), QSize(433, 401));
    QCOMPARE(m_help->ui->RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!m_help->ui->RichEdit1->isReadOnly());

    const QStringList lines = m_help->ui->RichEdit1->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 110);
    QCOMPARE(lines.first(), QStringLiteral("Dovrel Version 0.50"));
    const QString text = m_help->ui->RichEdit1->toPlainText();
    for (const char *fact : {"auxiliary program of Vantor", "\"til.pfp\"", "takes long", "megabytes", "large bitmaps are saved"})
        QVERIFY2(text.simplified().contains(QLatin1String(fact)), fact);
    int at = 0;
    for (const char *heading : {"Graphics for Vantor", "Save Lg. CheckBox", "Save Sm. CheckBox", "Lines", "Enhance", "Setup ", "Load",
                                "Save Small ", "Save Large", "Shrink", "Lines", "Generate", "Background", "Fill", "Bleed"}) {
        const qsizetype found = lines.indexOf(QString::fromLatin1(heading), at);
        QVERIFY2(found > at, heading);
        at = int(found);
    }
    const int background = int(lines.indexOf(QStringLiteral("Background")));
    const QString section = lines.mid(background, 12).join(QLatin1Char(' '));
    QVERIFY(section.contains(QStringLiteral("blue, green and red")));
    QVERIFY(section.contains(QStringLiteral("really holds")));

    Click(m_help->ui->OKBtn);
    QVERIFY(!m_help->isVisible());

    Click(ui->SetupBtn);
    QVERIFY(m_enhance->isVisible());
    QCOMPARE(m_enhance->size(), QSize(263, 300));
    QVERIFY(!m_enhance->isModal());

    // Closing the main window closes the tool windows with it.
    m_sets->close();
    QVERIFY(!m_enhance->isVisible());
}

QTEST_MAIN(TestWindow)
#include "tst_dovrel_window.moc"
