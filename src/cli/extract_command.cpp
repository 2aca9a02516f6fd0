// quillmark-cli extract: the tags of an existing page's head as a project.

#include "cli/command.h"

#include "files/file_io.h"
#include "files/project_file.h"
#include "files/project_text.h"
#include "pages/page_extract.h"

#include <cstdio>

namespace quill::cli {

namespace {

int extract(const QString &page, const QString &project)
{
    QString error;
    // The project must not be written over the page it is read from, however spelled.
    if (!distinctArguments({page}, {project}, &error))
        return failure(error);
    QByteArray bytes;
    if (!readPage(page, &bytes, &error))
        return failure(error);
    TagDocument doc;
    QStringList notes;
    if (!extractPage(bytes, &doc, &notes, &error))
        return failure(displayName(page) + QStringLiteral(": ") + error);
    for (const QString &note : std::as_const(notes))
        std::fprintf(stderr, "quillmark-cli: %s:%s\n", displayName(page).toUtf8().constData(),
                     note.toUtf8().constData());

    // Whole texts: what the record cannot hold goes into the file's tail.
    if (project.isEmpty())
        return writeStdout(projectToJson(doc), &error) ? Done : failure(error);
    return writeProject(project, GatherProjectFile(doc), &error) ? Done : failure(error);
}

} // namespace

Command extractCommand()
{
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("write the JSON object of show --json to "
                                                 "standard output instead of PROJECT.qmk"));
    return {
        .name = QStringLiteral("extract"),
        .summary = QStringLiteral("read the tags of a page's head into a project file"),
        .description = QStringLiteral(
            "Reads the head of an HTML page into the fields the program writes it from: its\n"
            "meta tags of the names the program writes (in any case), the title, the icon\n"
            "and style-sheet links and the first one-line comment. Each value is read as\n"
            "the inverse of its generated line (\"14 days\" gives 14 for revisit-after, the\n"
            "refresh gives its seconds and page, the expiry date its parts). Fields the\n"
            "page does not name keep their start-up values; texts start empty. Texts are\n"
            "kept whole up to the length the window takes; a value the fields cannot hold\n"
            "is named on standard error with its line and what was kept. The page is read\n"
            "in the character set it declares, else as UTF-8, else as Windows-1252, and\n"
            "the project takes that set (UTF-8 for a page in UTF-8, declared or not); the\n"
            "language comes from <html lang> when no content-language tag names one. Fails\n"
            "only when the file cannot be read or holds no HTML."),
        .options = {json},
        .arguments = {QStringLiteral("PAGE.html"), QStringLiteral("[PROJECT.qmk]")},
        .run =
            [=](const QCommandLineParser &parser) {
                const QStringList arguments = parser.positionalArguments();
                const bool named = arguments.size() == 2;
                if (named == parser.isSet(json))
                    return badUsage(named ? QStringLiteral("Give PROJECT.qmk or --json, not both.")
                                          : QStringLiteral("No PROJECT.qmk given."));
                return extract(arguments.at(0), arguments.value(1));
            },
    };
}

} // namespace quill::cli
