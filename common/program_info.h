#pragma once

// What every program answers before it starts work: --help and --version, before any application
// object is built, so that they need no display; and a file:// URL given for a file.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The text --help (or -h) or --version asks for among the arguments before "--": helpText, or the
// line "PROGRAM (Vantor) VERSION" that help2man reads; nothing when neither is asked for.
std::optional<std::string> HelpOrVersionText(int argc, const char *const *argv, std::string_view program,
                                             std::string_view helpText);

// Prints that text on standard output; true when it did, and the program is then done.
bool AnswerHelpOrVersion(int argc, const char *const *argv, std::string_view program, std::string_view helpText);

// A file named on the command line: a local file:// URL, as some launchers pass, becomes its path;
// anything else is taken as it is.
QString LocalFileArgument(const QString &argument);
