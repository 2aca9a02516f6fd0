#include "windows/look.h"
#include "windows/main_window.h"
#include "windows/preferences_dialog.h"
#include "windows/prompts.h"
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
    TForm2 preferences;
    TForm1 form1(preferences, prompts, shell);
    form1.show();
    return app.exec();
}
