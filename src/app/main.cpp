#include "app/application.h"
#include "windows/look.h"
#include "windows/printer.h"
#include "windows/prompts.h"
#include "windows/seams.h"
#include "windows/shell.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The title the desktop shows for the program; window captions stay as they are.
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    quill::applyProgramLook(app);

    quill::QtPrompts prompts;
    quill::DesktopShell shell;
    quill::QtPrinter printer;
    quill::Application program({prompts, shell, printer});
    program.start();
    return app.exec();
}
