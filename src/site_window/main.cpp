// quillmark-site: the tags of every page of a site in one window.

#include "site_window/site_window.h"

#include "windows/prompts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <csignal>

int main(int argc, char *argv[])
{
    // A write beyond the file size limit fails with its message instead of ending the
    // program; the page being replaced stays.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral(QUILLMARK_APP_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    // Docks and task bars show the window as its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLMARK_DESKTOP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillmark.svg")));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits the tags of every page of a site: a folder, read with its folders "
                       "for *.html and *.htm, or the pages given. Without one it asks for a "
                       "folder."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER | PAGE.html..."),
                                 QStringLiteral("the site's folder, or some of its pages"));
    parser.process(app);
    const QStringList arguments = parser.positionalArguments();

    quill::QtPrompts prompts;
    quill::SiteWindow window(prompts);
    window.show();
    QTimer::singleShot(0, &window, [&] {
        if (arguments.isEmpty())
            window.askForFolder();
        else if (arguments.size() == 1 && QFileInfo(arguments.constFirst()).isDir())
            window.openFolder(arguments.constFirst());
        else
            window.openPages(arguments);
    });
    return app.exec();
}
