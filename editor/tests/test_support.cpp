#include "test_support.h"

#include "model/geometry.h"
#include "render/bmp_encoding.h"

#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <stdexcept>

#include <sys/resource.h>

namespace testing {

QRgb TileColour(int set, int tile) { return qRgb(16 * set + 5, tile * 3, 255 - tile); }

QImage SyntheticTileSet(int set)
{
    QImage image(309, 421, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int tile = 0; tile < 80; ++tile) {
        const vantor::PixelRect cell = vantor::TileRect(tile);
        for (int y = 0; y < vantor::TileHeight; ++y)
            for (int x = 0; x < vantor::TileWidth; ++x)
                if (vantor::IsInsideHexagon(x, y))
                    image.setPixel(cell.left + x, cell.top + y, TileColour(set, tile));
    }
    return image;
}

void WriteSyntheticTileSet(const QString &folder, int set, const QString &fileName)
{
    const QString name = fileName.isEmpty() ? QStringLiteral("SET%1m.BMP").arg(set, 2, 10, QLatin1Char('0')) : fileName;
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(vantor::EncodeBmp24(SyntheticTileSet(set))) < 0)
        throw std::runtime_error("cannot write a synthetic tile set");
}

std::unique_ptr<vantor::MapStore> BlankMap(int width, int height)
{
    auto map = std::make_unique<vantor::MapStore>();
    map->MapWidth = width;
    map->MapHeight = height;
    return map;
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(data), data.size());
}

CliRun RunCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VANTOR_CLI_PATH), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

void ClickMenuItem(QMainWindow &window, const QString &menuTitle, const QString &itemText)
{
    if (!window.isVisible()) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QMenuBar *bar = window.menuBar();
    for (QAction *title : bar->actions()) {
        if (title->text() != menuTitle)
            continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        QTRY_VERIFY(title->menu()->isVisible());
        for (QAction *item : title->menu()->actions())
            if (item->text() == itemText) {
                QTest::mouseClick(title->menu(), Qt::LeftButton, {}, title->menu()->actionGeometry(item).center());
                return;
            }
    }
    QFAIL(qPrintable(menuTitle + QStringLiteral(" > ") + itemText));
}

void ClickHex(QMainWindow &mainWindow, int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    // Where a hex is drawn depends on its column and row only, not on the width of the map.
    const vantor::PixelRect r = vantor::HexRect(y * vantor::StoreColumns + x, vantor::StoreColumns);
    QTest::mouseClick(mainWindow.findChild<QWidget *>(QStringLiteral("MapImage")), button, modifiers,
                      QPoint(r.left + 24, r.top + 20));
}

void PickTile(QWidget &tilesWindow, int set, int tile)
{
    QTest::mouseClick(tilesWindow.findChild<QWidget *>(QStringLiteral("RadioGroup1Item%1").arg(set)), Qt::LeftButton);
    const vantor::PixelRect cell = vantor::TileRect(tile);
    QTest::mouseClick(tilesWindow.findChild<QWidget *>(QStringLiteral("TileImage")), Qt::LeftButton, {},
                      QPoint(cell.left + 24, cell.top + 20));
}

void HoverOver(QWidget *widget, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

FileSizeLimit::FileSizeLimit(unsigned long bytes)
{
    struct rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    previousLimit_ = limit.rlim_cur;
    // Past the limit a write fails with EFBIG instead of ending the process.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot limit the file size");
}

FileSizeLimit::~FileSizeLimit()
{
    struct rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previousLimit_;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}

std::unique_ptr<vantor::MapStore> RandomMap(int width, int height, quint32 seed)
{
    auto map = BlankMap(width, height);
    QRandomGenerator random(seed);
    for (auto &byte : map->bytes)
        byte = std::uint8_t(random.bounded(256));
    return map;
}

QByteArray RandomBytes(int size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(seed);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

int CountColour(const QImage &picture, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += picture.pixel(x, y) == colour;
    return count;
}

QImage Canvas(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QStringList BitmapsIn(const QString &folder, bool withSubfolders)
{
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.bmp")}, QDir::Files,
                    withSubfolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

QString ScriptedDialogs::nextFile(const FileDialogSettings &settings)
{
    fileDialogsShown << settings;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString ScriptedDialogs::openFileName(QWidget *, const FileDialogSettings &settings) { return nextFile(settings); }

QString ScriptedDialogs::saveFileName(QWidget *, const FileDialogSettings &settings) { return nextFile(settings); }

bool ScriptedDialogs::confirm(QWidget *, const QString &caption, const QString &text)
{
    questions << caption + QStringLiteral(": ") + text;
    return !confirmAnswers.isEmpty() && confirmAnswers.takeFirst();
}

bool ScriptedDialogs::askYesNo(QWidget *parent, const QString &caption, const QString &text)
{
    return confirm(parent, caption, text);
}

int ScriptedDialogs::askChoice(QWidget *, const QString &caption, const QString &text, const QStringList &)
{
    questions << caption + QStringLiteral(": ") + text;
    return choiceAnswers.isEmpty() ? -1 : choiceAnswers.takeFirst();
}

SaveChoice ScriptedDialogs::askSaveChanges(QWidget *, const QString &caption, const QString &text)
{
    saveQuestions << caption + QStringLiteral(": ") + text;
    return saveAnswers.isEmpty() ? SaveChoice::Discard : saveAnswers.takeFirst();
}

void ScriptedDialogs::inform(QWidget *, const QString &caption, const QString &text)
{
    messages << caption + QStringLiteral(": ") + text;
}

void ScriptedDialogs::showError(QWidget *, const QString &text) { errors << text; }

} // namespace testing
