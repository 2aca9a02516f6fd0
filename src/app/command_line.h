#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quill {

// What `quillmark [PROJECT.qmk]` was asked: the project to open once the program is up,
// or, for a wrong command line, the exit code after the message has been printed (no
// window is ever shown then).
struct CommandLine {
    std::optional<int> exitCode;
    QString projectFile;
};

// Answers --help and --version from the raw arguments (the program's name first), before
// any display is needed: the exit code once the text is printed, or nothing when neither
// was asked. The toolkit's own options are not known yet and are passed over.
std::optional<int> answerWithoutDisplay(const QStringList &arguments);

// Reads the arguments the application object has left once it took its own options
// (-style, -session, -platform and the like): one project file at most, no other option.
CommandLine parseCommandLine(const QStringList &arguments);

} // namespace quill
