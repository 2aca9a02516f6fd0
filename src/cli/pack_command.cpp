// quillmark-cli pack: a project file from its JSON text form.

#include "cli/command.h"

#include "files/file_io.h"
#include "files/project_file.h"
#include "files/project_text.h"

#include <cstdio>

namespace quill::cli {

namespace {

int pack(const QString &source, const QString &project)
{
    QString error;
    QByteArray json;
    if (!distinctArguments({source}, {project}, &error))
        return failure(error);
    // One byte beyond the bound tells a source that is too large from one that fits.
    if (!readInput(source, ProjectJsonLimit + 1, &json, &error))
        return failure(error);
    if (json.size() > ProjectJsonLimit)
        return failure(QStringLiteral("%1: more than %2 MiB, far beyond any project's JSON text; "
                                      "nothing written")
                           .arg(displayName(source))
                           .arg(ProjectJsonLimit / (1024 * 1024)));

    TagDocument doc;
    QStringList faults;
    if (!projectFromJson(json, displayName(source), &doc, &faults)) {
        // Lines of the compiler's kind, SOURCE:LINE:COLUMN first, with no full stop added;
        // in one write, however many there are.
        QByteArray report;
        for (const QString &fault : std::as_const(faults))
            report += "quillmark-cli: " + fault.toUtf8() + '\n';
        std::fwrite(report.constData(), 1, std::size_t(report.size()), stderr);
        return Failed;
    }
    return writeProject(project, GatherProjectFile(doc), &error) ? Done : failure(error);
}

} // namespace

Command packCommand()
{
    return {
        .name = QStringLiteral("pack"),
        .summary = QStringLiteral("write a project file from its JSON text form"),
        .description = QStringLiteral(
            "Reads one JSON object as `show --json` writes it (UTF-8; SOURCE - reads\n"
            "standard input) and writes exactly PROJECT.qmk, replacing it whole or not at\n"
            "all. A key left out takes its start-up value, as after New: empty texts, the\n"
            "lists' start-up items, boxes unchecked, and \"YYYY-MM-DD\" for dc-date: leaving\n"
            "dc-date out puts \"YYYY-MM-DD\" into the code; \"dc-date\": \"\" gives none.\n"
            "A text takes any character and is as long as the window lets the field's text\n"
            "be; one that does not fit its place in the record is kept whole after it, as\n"
            "Save keeps it. Every fault of SOURCE is reported, and then nothing is written."),
        .options = {},
        .arguments = {QStringLiteral("SOURCE.json"), QStringLiteral("PROJECT.qmk")},
        .run =
            [](const QCommandLineParser &parser) {
                const QStringList arguments = parser.positionalArguments();
                return pack(arguments.at(0), arguments.at(1));
            },
    };
}

} // namespace quill::cli
