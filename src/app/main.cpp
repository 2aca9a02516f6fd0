#include "app/application.h"
#include "app/command_line.h"
#include "windows/look.h"
#include "windows/printer.h"
#include "windows/prompts.h"
#include "windows/random_source.h"
#include "windows/shell.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Answered before any display is needed: --help works on a text console.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> answered = quill::answerWithoutDisplay(arguments))
        return *answered;

    // The application object takes the toolkit's own options (the session manager's
    // -session among them) before the program reads what is left.
    QApplication app(argc, argv);
    const quill::CommandLine commandLine = quill::parseCommandLine(QCoreApplication::arguments());
    if (commandLine.exitCode)
        return *commandLine.exitCode;
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
