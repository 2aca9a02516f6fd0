#include "app/command_line.h"

#include <QCommandLineParser>

#include <cstdio>

namespace quill {
namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

const QString Usage = QStringLiteral("Usage: quillmark [PROJECT.qmk]\n");

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringLiteral("help"), QStringLiteral("show this help"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("show the version"));
    parser.addOption(help);
    parser.addOption(version);

    const auto usageError = [](const QString &why) {
        print(stderr, QStringLiteral("quillmark: ") + why + QLatin1Char('\n') + Usage);
        return CommandLine{2, {}};
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        print(stdout,
              Usage + QStringLiteral("\nWrites the meta tags of a web page. With PROJECT.qmk, the "
                                     "program starts with that project\nopened, as File > Open "
                                     "would open it.\n\n"
                                     "  --help          show this help\n"
                                     "  --version       show the version\n"));
        return {0, {}};
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("quillmark %1\n").arg(QStringLiteral(QUILLMARK_VERSION)));
        return {0, {}};
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return usageError(QStringLiteral("Only one project file can be opened."));
    return {std::nullopt, files.value(0)};
}

} // namespace quill
