// dovrel-cli: the tile-set batch without a window.

#include "core/Batch.h"
#include "core/IntText.h"
#include "core/TileArchive.h"
#include "program_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

using namespace dovrel;

namespace {

enum ExitCode { Ok = 0, Refused = 1, Usage = 2 };

const char *UsageText =
    "Usage:\n"
    "  dovrel-cli generate [ARCHIVE] [--out DIR] [--set N]... [--large] [--no-small]\n"
    "                      [--no-lines] [--no-enhance] [--background VALUE]\n"
    "                      [--red V] [--green V] [--blue V] [--min V]\n"
    "\n"
    "generate        writes the tile-set bitmaps Setxxm.bmp (and SetLxx.bmp with --large)\n"
    "                from the tile archive (default \"til.pfp\" in the current folder)\n"
    "                into DIR (default the current folder), for the sets N (0 to 15,\n"
    "                all 16 by default), exactly as the window's batch does.\n"
    "  --background  background and outline colour, 0xBBGGRR (default 0x38B8A0)\n"
    "  --red, --green, --blue, --min\n"
    "                enhancement values 0 to 100 (default 20 each)\n";

void Print(FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

int UsageError(const QString &message)
{
    Print(stderr, QStringLiteral("dovrel-cli: %1\n\n").arg(message));
    Print(stderr, QString::fromLatin1(UsageText));
    return Usage;
}

int RunGenerate(const QStringList &args)
{
    BatchOptions options;
    options.outputDir = QStringLiteral(".");
    QString archivePath = QString::fromLatin1(ArchiveFileName);
    bool archiveGiven = false;
    QString backgroundText = QString::fromLatin1(DefaultBackgroundText);
    QList<int> sets;

    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        auto value = [&](QString *out) {
            if (i + 1 >= args.size())
                return false;
            *out = args[++i];
            return true;
        };
        auto number = [&](int lo, int hi, int *out) -> int {
            QString text;
            if (!value(&text))
                return UsageError(QStringLiteral("%1 needs a value").arg(arg));
            const std::optional<qint32> n = StrToInt(text);
            if (!n || *n < lo || *n > hi)
                return UsageError(QStringLiteral("%1 takes a number from %2 to %3, not '%4'").arg(arg).arg(lo).arg(hi).arg(text));
            *out = *n;
            return Ok;
        };
        int status = Ok;
        if (arg == QLatin1String("--out")) {
            if (!value(&options.outputDir))
                return UsageError(QStringLiteral("--out needs a folder"));
        } else if (arg == QLatin1String("--set")) {
            int set = 0;
            status = number(0, TileSetCount - 1, &set);
            if (status == Ok && !sets.contains(set))
                sets.append(set);
        } else if (arg == QLatin1String("--large")) {
            options.steps.saveLarge = true;
        } else if (arg == QLatin1String("--no-small")) {
            options.steps.saveSmall = false;
        } else if (arg == QLatin1String("--no-lines")) {
            options.steps.lines = false;
        } else if (arg == QLatin1String("--no-enhance")) {
            options.steps.enhance = false;
        } else if (arg == QLatin1String("--background")) {
            if (!value(&backgroundText))
                return UsageError(QStringLiteral("--background needs a value"));
        } else if (arg == QLatin1String("--red")) {
            status = number(0, 100, &options.steps.enhancement.red);
        } else if (arg == QLatin1String("--green")) {
            status = number(0, 100, &options.steps.enhancement.green);
        } else if (arg == QLatin1String("--blue")) {
            status = number(0, 100, &options.steps.enhancement.blue);
        } else if (arg == QLatin1String("--min")) {
            status = number(0, 100, &options.steps.enhancement.min);
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return UsageError(QStringLiteral("unknown option %1").arg(arg));
        } else if (!archiveGiven) {
            archivePath = arg;
            archiveGiven = true;
        } else {
            return UsageError(QStringLiteral("more than one archive given"));
        }
        if (status != Ok)
            return status;
    }
    std::sort(sets.begin(), sets.end());
    options.sets = sets;

    QString error;
    const std::optional<ColorValue> background = ParseColorText(backgroundText, &error);
    if (!background) {
        Print(stderr, QStringLiteral("dovrel-cli: %1\n").arg(error));
        return Refused;
    }
    options.steps.background = *background;

    if (!QDir(options.outputDir).exists()) {
        Print(stderr, QStringLiteral("dovrel-cli: the output folder \"%1\" does not exist\n").arg(options.outputDir));
        return Refused;
    }
    ArchiveFile archive;
    if (!archive.open(archivePath, &error)) {
        Print(stderr, QStringLiteral("dovrel-cli: %1\n").arg(error));
        return Refused;
    }
    DecoderState state;
    const BatchResult result = RunBatch(archive.stream(), options, state);
    for (const QString &problem : result.problems)
        Print(stderr, QStringLiteral("dovrel-cli: %1 The set was written as far as it was read.\n").arg(problem));
    if (!result.error.isEmpty()) {
        Print(stderr, QStringLiteral("dovrel-cli: %1\n").arg(result.error));
        return Refused;
    }
    return result.ok() ? Ok : Refused;
}

} // namespace

int main(int argc, char **argv)
{
    if (AnswerHelpOrVersion(argc, argv, "dovrel-cli", UsageText))
        return Ok;
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return UsageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("help")) {
        Print(stdout, QString::fromLatin1(UsageText));
        return Ok;
    }
    if (command == QLatin1String("generate"))
        return RunGenerate(args);
    return UsageError(QStringLiteral("unknown command %1").arg(command));
}
