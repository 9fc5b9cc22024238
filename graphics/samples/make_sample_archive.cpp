// make_sample_archive OUT: writes the sample tile archive, from which the build makes the sample
// tile sets (the game's own archive is not shipped).

#include "SampleArchive.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        std::fputs("Usage: make_sample_archive OUT\n"
                   "writes a sample tile archive with procedurally drawn tiles to OUT.\n",
                   stderr);
        return 2;
    }
    QString error;
    if (!dovrel::WriteSampleArchive(args[0], &error)) {
        std::fprintf(stderr, "make_sample_archive: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
