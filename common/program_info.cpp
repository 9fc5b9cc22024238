#include "program_info.h"

#include "program_version.h"

#include <QUrl>

#include <cstdio>

std::optional<std::string> HelpOrVersionText(int argc, const char *const *argv, std::string_view program,
                                             std::string_view helpText)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h")
            return std::string(helpText);
        if (arg == "--version")
            return std::string(program) + " (Vantor) " + ProgramVersion + "\n";
    }
    return std::nullopt;
}

bool AnswerHelpOrVersion(int argc, const char *const *argv, std::string_view program, std::string_view helpText)
{
    const std::optional<std::string> text = HelpOrVersionText(argc, argv, program, helpText);
    if (!text)
        return false;
    std::fputs(text->c_str(), stdout);
    std::fflush(stdout);
    return true;
}

QString LocalFileArgument(const QString &argument)
{
    if (!argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return argument;
    QUrl url(argument);
    // "file://localhost/..." names this machine, not a network share.
    if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        url.setHost(QString());
    return url.isValid() && url.isLocalFile() ? url.toLocalFile() : argument;
}
