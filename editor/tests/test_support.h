#pragma once
// Helpers the tests share: synthetic tile sets, maps, and dialogs answered by the test.

#include "forms/dialogs.h"
#include "model/map_store.h"
#include "tools/map_tool.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

class QMainWindow;

#include <memory>

namespace testing {

// The colour of tile `tile` of set `set` in the synthetic tile sets; no two tiles of any set share it.
QRgb TileColour(int set, int tile);

// A 309 x 421 tile-set bitmap, black but for the hexagons of tiles 0..79, each filled with its
// TileColour in tile order (so a later tile takes the edge pixels it shares with an earlier one).
QImage SyntheticTileSet(int set);

// Writes SyntheticTileSet(set) as a 24-bit BMP named fileName into folder.
void WriteSyntheticTileSet(const QString &folder, int set, const QString &fileName = {});

// A map of the given size whose every byte, in and beyond the size, is random (the same for a seed).
std::unique_ptr<vantor::MapStore> RandomMap(int width, int height, quint32 seed);
QByteArray RandomBytes(int size, quint32 seed);

// How many pixels of picture have the colour.
int CountColour(const QImage &picture, QRgb colour);

// A picture of one colour.
QImage Canvas(int width, int height, QRgb colour);

// The .bmp files of a folder, and of its subfolders when asked, sorted.
QStringList BitmapsIn(const QString &folder, bool withSubfolders = false);

// A map of the given size whose hexes all use set 0, tile 0, with every other byte 0.
std::unique_ptr<vantor::MapStore> BlankMap(int width, int height);

// The whole content of a file; empty when it cannot be read.
QByteArray Contents(const QString &path);
// Writes data as the whole content of a file (a failure fails the test).
void Write(const QString &path, const QByteArray &data);

// What a run of vantor-cli printed and returned (-1 when it did not end in time, -2 on a crash).
struct CliRun {
    int status = -1;
    QString out;
    QString err;
};
CliRun RunCli(const QStringList &arguments);

// Opens the menu titled menuTitle in the window's menu bar and clicks its item itemText.
void ClickMenuItem(QMainWindow &window, const QString &menuTitle, const QString &itemText);

// Clicks the middle of hex (x, y) of the main window's map picture.
void ClickHex(QMainWindow &mainWindow, int x, int y, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers modifiers = {});

// Picks tile `tile` of set `set` in the palette window, as a user does: the set's button, then the tile.
void PickTile(QWidget &tilesWindow, int set, int tile);

// Moves the mouse over widget to pos with no button held, delivering the move to widget itself
// whatever other window lies on top of it.
void HoverOver(QWidget *widget, QPoint pos);

// While it lives, no file may grow past `bytes`: writes beyond fail (for root too), as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    unsigned long previousLimit_ = 0;
    void (*previousHandler_)(int) = nullptr;
};

// Answers the editor's dialogs from queues the test fills, and records what they were asked.
class ScriptedDialogs final : public DialogProvider {
public:
    ScriptedDialogs() { InstallDialogs(this); }
    ~ScriptedDialogs() override { InstallDialogs(nullptr); }

    QStringList fileAnswers;    // next file chosen; an empty text or an empty queue cancels
    QList<bool> confirmAnswers; // next answer to a question (OK or Yes); an empty queue answers Cancel or No

    QList<SaveChoice> saveAnswers; // next answer to "Save changes?"; an empty queue answers Discard
    QList<int> choiceAnswers;      // next choice picked (its index); an empty queue answers Cancel

    QList<FileDialogSettings> fileDialogsShown;
    QStringList saveQuestions;  // "caption: text" of every "Save changes?" asked
    QStringList questions;      // "caption: text"
    QStringList messages;       // "caption: text"
    QStringList errors;

    QString openFileName(QWidget *, const FileDialogSettings &settings) override;
    QString saveFileName(QWidget *, const FileDialogSettings &settings) override;
    bool confirm(QWidget *, const QString &caption, const QString &text) override;
    bool askYesNo(QWidget *, const QString &caption, const QString &text) override;
    SaveChoice askSaveChanges(QWidget *, const QString &caption, const QString &text) override;
    int askChoice(QWidget *, const QString &caption, const QString &text, const QStringList &choices) override;
    void inform(QWidget *, const QString &caption, const QString &text) override;
    void showError(QWidget *, const QString &text) override;

private:
    QString nextFile(const FileDialogSettings &settings);
};

// A window for tools that asks nothing: every file is cancelled, every question declined.
class SilentToolHost final : public vantor::ToolHost {
public:
    QString askAreaFileToSave() override { return {}; }
    bool confirmOverwrite(const QString &) override { return false; }
    QString askAreaFileToPaste() override { return {}; }
    void showLoadProblem(const vantor::LoadResult &) override {}
    void inform(const QString &, const QString &) override {}
    void showError(const QString &) override {}
};

} // namespace testing
