#include "app/command_line.h"

#include "files/file_io.h"

#include <QCommandLineParser>

#include <cstdio>

namespace quill {
namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(displayName(text).toUtf8().constData(), stream);
}

// Help and version on standard output: a full disk or a closed output is a failure.
int printed(const QString &text)
{
    QString error;
    if (writeStdout(text.toUtf8(), &error))
        return 0;
    print(stderr, QStringLiteral("quillmark: ") + errorBoxText(error) + QLatin1Char('\n'));
    return 1;
}

const QString Usage = QStringLiteral("Usage: quillmark [PROJECT.qmk]\n");

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help{QStringLiteral("help"), QStringLiteral("show this help")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("show the version")};

    Parser()
    {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(version);
    }

    // The exit code once --help or --version is answered; nothing when neither was asked.
    std::optional<int> answer() const
    {
        if (parser.isSet(help)) {
            return printed(
                Usage + QStringLiteral(
                            "\nWrites the meta tags of a web page. With PROJECT.qmk, the program "
                            "starts with that project\nopened, as File > Open would open it.\n\n"
                            "  --help          show this help\n"
                            "  --version       show the version\n\n"
                            "The options of the Qt toolkit (-style NAME, -platform NAME, -session "
                            "ID, ...)\nare taken as every Qt program takes them.\n"));
        }
        if (parser.isSet(version))
            return printed(QStringLiteral("Quillmark " QUILLMARK_VERSION "\n"));
        return std::nullopt;
    }
};

} // namespace

std::optional<int> answerWithoutDisplay(const QStringList &arguments)
{
    Parser p;
    // Unknown options are the toolkit's or wrong; which, only the application object knows.
    p.parser.parse(arguments);
    return p.answer();
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    Parser p;
    const auto usageError = [](const QString &why) {
        print(stderr, QStringLiteral("quillmark: ") + why + QLatin1Char('\n') + Usage);
        return CommandLine{2, {}};
    };
    if (!p.parser.parse(arguments))
        return usageError(p.parser.errorText());
    if (const std::optional<int> answered = p.answer())
        return {answered, {}};
    const QStringList files = p.parser.positionalArguments();
    if (files.size() > 1)
        return usageError(QStringLiteral("Only one project file can be opened."));
    return {std::nullopt, files.value(0)};
}

} // namespace quill
