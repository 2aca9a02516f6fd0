#include "app/command_line.h"

#include "files/file_io.h"

#include <QCommandLineParser>

#include <cerrno>
#include <cstdio>

namespace quill {
namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(displayName(text).toUtf8().constData(), stream);
}

// Help and version on standard output: a full disk or a closed output is a failure.
CommandLine printed(const QString &text)
{
    errno = 0;
    const QByteArray bytes = text.toUtf8();
    if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) ==
            std::size_t(bytes.size()) &&
        std::fflush(stdout) == 0)
        return {0, {}};
    const QString why = errorBoxText(ioErrorMessage(errno ? errno : EIO));
    print(stderr, QStringLiteral("quillmark: ") + why + QLatin1Char('\n'));
    return {1, {}};
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
        return printed(Usage +
                       QStringLiteral("\nWrites the meta tags of a web page. With PROJECT.qmk, the "
                                      "program starts with that project\nopened, as File > Open "
                                      "would open it.\n\n"
                                      "  --help          show this help\n"
                                      "  --version       show the version\n"));
    }
    if (parser.isSet(version))
        return printed(QStringLiteral("quillmark %1\n").arg(QStringLiteral(QUILLMARK_VERSION)));
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return usageError(QStringLiteral("Only one project file can be opened."));
    return {std::nullopt, files.value(0)};
}

} // namespace quill
