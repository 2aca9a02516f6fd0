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

int main(int argc, char *argv[])
{
    // A write beyond the file size limit fails with its message ("Disk full") instead of
    // ending the program; the file being replaced stays.
    std::signal(SIGXFSZ, SIG_IGN);

    // Read before any window or display is needed: --help works on a text console. A
    // file name keeps its bytes, whatever the locale makes of them.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << quill::nameFromNative(argv[i]);
    const quill::CommandLine commandLine = quill::parseCommandLine(arguments);
    if (commandLine.exitCode)
        return *commandLine.exitCode;

    QApplication app(argc, argv);
    quill::applyProgramLook(app);

    quill::QtPrompts prompts;
    quill::DesktopShell shell;
    quill::QtPrinter printer;
    quill::ClockRandom random;
    const auto program = quill::Application::start({prompts, shell, printer, random});
    if (!commandLine.projectFile.isEmpty())
        program->openProject(commandLine.projectFile);
    return app.exec();
}
