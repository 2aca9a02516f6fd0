#include "app/application.h"
#include "app/command_line.h"
#include "windows/look.h"
#include "windows/printer.h"
#include "windows/prompts.h"
#include "windows/random_source.h"
#include "windows/shell.h"

#include "files/file_io.h"

#include <QApplication>

#include <csignal>

namespace {

// The arguments with their bytes kept, whatever the locale makes of a file name.
QStringList nativeArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << quill::nameFromNative(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // A write beyond the file size limit fails with its message ("Disk full") instead of
    // ending the program; the file being replaced stays.
    std::signal(SIGXFSZ, SIG_IGN);

    // Answered before any display is needed: --help works on a text console.
    if (const std::optional<int> answered =
            quill::answerWithoutDisplay(nativeArguments(argc, argv)))
        return *answered;

    // The application object takes the toolkit's own options (the session manager's
    // -session among them) out of argv before the program reads what is left.
    QApplication app(argc, argv);
    const quill::CommandLine commandLine = quill::parseCommandLine(nativeArguments(argc, argv));
    if (commandLine.exitCode)
        return *commandLine.exitCode;
    quill::applyProgramLook(app);

    quill::QtPrompts prompts;
    quill::DesktopShell shell(prompts);
    quill::QtPrinter printer;
    quill::ClockRandom random;
    const auto program = quill::Application::start({prompts, shell, printer, random});
    if (!commandLine.projectFile.isEmpty())
        program->openProject(commandLine.projectFile);
    return app.exec();
}
