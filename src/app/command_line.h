#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quill {

// What `quillmark [PROJECT.qmk]` was asked: the project to open once the program is up,
// or, for --help, --version and a wrong command line, the exit code after the text has
// been printed (no window is ever shown then).
struct CommandLine {
    std::optional<int> exitCode;
    QString projectFile;
};

// Reads the arguments (the program's name first) before any window exists, so that
// --help works without a display.
CommandLine parseCommandLine(const QStringList &arguments);

} // namespace quill
