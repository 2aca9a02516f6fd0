// quillmark-cli apply: a project's lines written into existing pages, in place.

#include "cli/command.h"

#include "document/tag_document.h"
#include "files/file_io.h"
#include "files/project_file.h"
#include "pages/page_apply.h"
#include "pages/unified_diff.h"

#include <cstdio>

namespace quill::cli {

namespace {

// One page: false when it was left alone for a fault, which is reported.
bool applyToPage(const QString &page, const HeadWriter &writer, bool dryRun)
{
    const auto fail = [&page](const QString &why) {
        failure(displayName(page) + QStringLiteral(": ") + why);
        return false;
    };
    QString error;
    QByteArray bytes;
    if (!readPage(page, &bytes, &error)) {
        failure(error);
        return false;
    }
    QList<PageEdit> edits;
    QStringList notes;
    if (!writer.plan(bytes, &edits, &notes, &error))
        return fail(error);
    for (const QString &note : std::as_const(notes))
        std::fprintf(stderr, "quillmark-cli: %s:%s\n", displayName(page).toUtf8().constData(),
                     note.toUtf8().constData());
    // A page read from standard input goes to standard output, changed or not.
    if (edits.isEmpty() && (dryRun || !isStandardStream(page)))
        return true;
    if (dryRun)
        return writeStdout(unifiedDiff(bytes, edits, page), &error) || fail(error);
    if (writeOutput(page, spliced(bytes, edits), &error))
        return true;
    failure(error);
    return false;
}

int apply(const QString &project, const QStringList &pages, const ApplyOptions &options,
          bool dryRun)
{
    QString error;
    ProjectFile file;
    if (!readProject(project, &file, &error))
        return failure(error);
    TagDocument doc = TagDocument::startUp();
    QString tailNote;
    ApplyProjectFile(file, doc, &tailNote);
    if (!tailNote.isEmpty())
        warning(project, tailNote + QStringLiteral("; texts applied as the record holds them"));

    // Pages are independent: one that fails does not stop the others.
    const HeadWriter writer(doc, options);
    bool allDone = true;
    for (const QString &page : pages) {
        // A page that is the project itself is never written over.
        if (!distinctArguments({project}, {page}, &error)) {
            failure(error);
            allDone = false;
            continue;
        }
        allDone = applyToPage(page, writer, dryRun) && allDone;
    }
    return allDone ? Done : Failed;
}

} // namespace

Command applyCommand()
{
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("write what would change as a unified diff "
                                                   "to standard output; change nothing"));
    const QCommandLineOption keepCharset(QStringLiteral("keep-charset"),
                                         QStringLiteral("keep a page's own character set and "
                                                        "its declaration"));
    return {
        .name = QStringLiteral("apply"),
        .summary = QStringLiteral("write a project's tags into existing pages"),
        .description = QStringLiteral(
            "Writes the generated lines of a project into the head of each page, in place,\n"
            "changing only what differs. Of each meta tag of a name the program writes, the\n"
            "title, the icon link, the first style-sheet link and the first one-line\n"
            "comment, a value equal to the project's stays byte for byte and another has\n"
            "only its value replaced, inside the page's own quotes; a page's text longer\n"
            "than the field takes that begins with the project's is kept (and reported). A\n"
            "second copy is removed (and reported), and so is a meta tag the project leaves\n"
            "empty or whose list has no item, while the title, the links and the comment\n"
            "stay when the project has none. A missing line is added only when its fields\n"
            "are not at their start-up values, after the last of the program's tags in the\n"
            "head, each on a line of its own with the page's line ending and indentation.\n"
            "No other byte changes. When the page declares another character set than the\n"
            "project, the page is left alone unless --keep-charset is given. Each page is\n"
            "replaced whole or not at all; a page that fails is reported and the others\n"
            "are still done."),
        .options = {dryRun, keepCharset},
        .arguments = {QStringLiteral("PROJECT.qmk"), QStringLiteral("PAGE.html...")},
        .run =
            [=](const QCommandLineParser &parser) {
                QStringList pages = parser.positionalArguments();
                const QString project = pages.takeFirst();
                return apply(project, pages, ApplyOptions{parser.isSet(keepCharset)},
                             parser.isSet(dryRun));
            },
    };
}

} // namespace quill::cli
