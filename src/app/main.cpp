#include "windows/look.h"
#include "windows/main_window.h"
#include "windows/preferences_dialog.h"
#include "windows/prompts.h"
#include "windows/shell.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillmark"));
    quill::applyProgramLook(app);

    quill::QtPrompts prompts;
    quill::DesktopShell shell;
    TForm2 preferences;
    TForm1 form1(preferences, prompts, shell);
    form1.show();
    return app.exec();
}
