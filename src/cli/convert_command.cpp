// quillmark-cli convert: an HTML file into a script of document.write statements, with
// the same engine and files as the Tools window's Convert.

#include "cli/command.h"

#include "tools/html_to_js.h"
#include "tools/html_to_js_blocks.h"

#include <QDateTime>
#include <QStringList>

#include <cstdio>

namespace quill::cli {
namespace {

// The kernels the environment can name, and those this processor runs, best first.
QString kernelsNote()
{
    QStringList all;
    for (const blocks::Implementation *kernels : blocks::implementations())
        all << QLatin1String(kernels->name);
    QStringList here;
    for (const blocks::Implementation *kernels : blocks::supportedImplementations())
        here << QLatin1String(kernels->name);
    return QStringLiteral("\n\n%1=NAME converts with the kernels named instead of the\n"
                          "best this processor runs.\n  kernels:   %2\n  run here:  %3")
        .arg(QLatin1String(blocks::ImplementationVariable), all.join(QLatin1Char(' ')),
             here.join(QLatin1Char(' ')));
}

int convert(const QString &source, const QString &destination, bool htmlPage, bool log)
{
    // The side files are named after the files, which a stream has not.
    if ((htmlPage || log) && isStandardStream(destination))
        return badUsage(QStringLiteral("The page and the log are named after DESTINATION, "
                                       "which - is not."));
    if (log && isStandardStream(source))
        return badUsage(QStringLiteral("The log names SOURCE, which - is not."));

    StreamFiles streams;
    QString from;
    QString to;
    QString error;
    if (!streams.input(source, &from, &error) || !streams.output(destination, &to, &error))
        return failure(error);
    const ConversionResult result =
        convertHtmlToJs(from, to, htmlPage, log, QDateTime::currentDateTime(), {});
    if (!result.succeeded())
        return failure(result.file.isEmpty() ? result.error
                                             : aboutFile(streams.given(result.file), result.error));
    return streams.finish(&error) ? Done : failure(error);
}

} // namespace

Command convertCommand()
{
    const QCommandLineOption htmlPage(QStringLiteral("html-page"),
                                      QStringLiteral("also write a page that includes the script"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("also write a log of the run"));
    return {
        .name = QStringLiteral("convert"),
        .summary = QStringLiteral("convert an HTML file into a JavaScript file"),
        .description =
            QStringLiteral(
                "Writes every line of SOURCE as one document.write statement into DESTINATION,\n"
                "as the Tools window's Convert does. The page and the log are named after\n"
                "DESTINATION less its last three characters, with .html and .log. Nothing is\n"
                "printed on success.") +
            kernelsNote(),
        .options = {htmlPage, log},
        .arguments = {QStringLiteral("SOURCE"), QStringLiteral("DESTINATION")},
        .run =
            [=](const QCommandLineParser &parser) {
                const QStringList paths = parser.positionalArguments();
                // Kernels named that cannot be had are no reason to fail: the conversion
                // is the same with any.
                const QString warning = blocks::chosenImplementation().warning;
                if (!warning.isEmpty())
                    std::fprintf(stderr, "quillmark-cli: %s\n", warning.toLocal8Bit().constData());
                return convert(paths.at(0), paths.at(1), parser.isSet(htmlPage), parser.isSet(log));
            },
    };
}

} // namespace quill::cli
