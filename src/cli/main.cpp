// quillmark-cli: writes the code page of a project file without the windows.
// Exit codes: 0 done, 1 the work failed (message on stderr), 2 the command line is wrong.

#include "document/ansi_codec.h"
#include "document/meta_generator.h"
#include "document/tag_document.h"
#include "files/file_io.h"
#include "files/project_record.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <optional>

namespace {

constexpr const char *usageText = "Usage: quillmark-cli generate [--meta-only] [--output FILE] "
                                  "PROJECT.qmk\n"
                                  "       quillmark-cli --help | --version\n";

constexpr const char *helpText =
    "\nWrites the meta code of a Quillmark project file, exactly as Export As HTML\n"
    "would write the generated code page (Windows-1252, CR LF between lines).\n"
    "\n"
    "  --meta-only     the meta lines alone instead of a whole HTML page\n"
    "  --output FILE   write to FILE instead of standard output\n"
    "  --help          show this help\n"
    "  --version       show the version\n";

enum ExitCode { Done = 0, Failed = 1, BadUsage = 2 };

struct Request {
    bool metaOnly = false;
    std::optional<QString> output;
    QString project;
};

int usageError(const QString &why)
{
    std::fprintf(stderr, "quillmark-cli: %s\n%s", why.toLocal8Bit().constData(), usageText);
    return BadUsage;
}

int failure(const QString &message)
{
    std::fprintf(stderr, "quillmark-cli: %s\n",
                 quill::errorBoxText(message).toLocal8Bit().constData());
    return Failed;
}

// Raw bytes to stdout: on this platform a FILE* does no newline translation.
bool writeStdout(const QByteArray &bytes, QString *error)
{
    errno = 0;
    const bool ok = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()),
                                stdout) == static_cast<std::size_t>(bytes.size()) &&
                    std::fflush(stdout) == 0;
    if (!ok)
        *error = quill::ioErrorMessage(errno ? errno : EIO);
    return ok;
}

int generate(const Request &request)
{
    QString error;
    quill::TProjectRecord record;
    if (!quill::LoadProjectFile(request.project, &record, &error))
        return failure(error);

    quill::TagDocument doc = quill::TagDocument::startUp();
    quill::ApplyProject(record, doc);
    doc.setMode(request.metaOnly ? quill::GenerationMode::MetaOnly
                                 : quill::GenerationMode::FullPage);
    const QByteArray bytes = quill::encodeAnsi(quill::codePageText(quill::generateMetaCode(doc)));

    const bool written = request.output ? quill::replaceFile(*request.output, bytes, &error)
                                        : writeStdout(bytes, &error);
    return written ? Done : failure(error);
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList positional;
    Request request;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1StringView("-")) {
            positional << arg;
        } else if (arg == QLatin1StringView("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1StringView("--help")) {
            std::fputs(usageText, stdout);
            std::fputs(helpText, stdout);
            return Done;
        } else if (arg == QLatin1StringView("--version")) {
            std::fputs("Quillmark 2.0\n", stdout);
            return Done;
        } else if (arg == QLatin1StringView("--meta-only")) {
            request.metaOnly = true;
        } else if (arg == QLatin1StringView("--output") ||
                   arg.startsWith(QLatin1StringView("--output="))) {
            if (request.output)
                return usageError(QStringLiteral("--output given twice"));
            if (arg.contains(QLatin1Char('=')))
                request.output = arg.mid(arg.indexOf(QLatin1Char('=')) + 1);
            else if (i + 1 < argc)
                request.output = QFile::decodeName(argv[++i]);
            else
                return usageError(QStringLiteral("--output needs a file name"));
            if (request.output->isEmpty())
                return usageError(QStringLiteral("--output needs a file name"));
        } else {
            return usageError(QStringLiteral("unknown option '%1'").arg(arg));
        }
    }

    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given"));
    if (positional.first() != QLatin1StringView("generate"))
        return usageError(QStringLiteral("unknown command '%1'").arg(positional.first()));
    if (positional.size() != 2)
        return usageError(positional.size() < 2 ? QStringLiteral("no project file given")
                                                : QStringLiteral("more than one project file"));
    request.project = positional.at(1);
    return generate(request);
}
