// quillmark-cli convert: an HTML file into a script of document.write statements, with
// the same engine and files as the Tools window's Convert.

#include "cli/command.h"

#include "tools/html_to_js.h"

#include <QDateTime>

namespace quill::cli {

Command convertCommand()
{
    const QCommandLineOption htmlPage(QStringLiteral("html-page"),
                                      QStringLiteral("also write a page that includes the script"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("also write a log of the run"));
    return {
        .name = QStringLiteral("convert"),
        .summary = QStringLiteral("convert an HTML file into a JavaScript file"),
        .description = QStringLiteral(
            "Writes every line of SOURCE as one document.write statement into DESTINATION,\n"
            "as the Tools window's Convert does. The page and the log are named after\n"
            "DESTINATION less its last three characters, with .html and .log. Nothing is\n"
            "printed on success."),
        .options = {htmlPage, log},
        .arguments = {QStringLiteral("SOURCE"), QStringLiteral("DESTINATION")},
        .run =
            [=](const QCommandLineParser &parser) {
                const QStringList paths = parser.positionalArguments();
                const ConversionResult result =
                    convertHtmlToJs(paths.at(0), paths.at(1), parser.isSet(htmlPage),
                                    parser.isSet(log), QDateTime::currentDateTime(), {});
                return result.succeeded() ? Done : failure(result.error);
            },
    };
}

} // namespace quill::cli
