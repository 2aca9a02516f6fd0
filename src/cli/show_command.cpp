// quillmark-cli show: a project file's values as text, one key per line.

#include "cli/command.h"

#include "files/project_file.h"
#include "files/project_text.h"

#include <cstdio>

namespace quill::cli {

namespace {

int show(const QString &project, bool json)
{
    QString error;
    ProjectFile file;
    if (!readProject(project, &file, &error))
        return failure(error);
    TagDocument doc = TagDocument::startUp();
    QString tailNote;
    ApplyProjectFile(file, doc, &tailNote);

    // What reading changed is shown changed, so say so; the values are still the ones
    // Open would put into the fields.
    QStringList warnings = projectNormalisations(file.record);
    if (!tailNote.isEmpty())
        warnings << tailNote + QStringLiteral("; texts shown as the record holds them");
    for (const QString &warning : std::as_const(warnings))
        cli::warning(project, warning);

    const QByteArray text = json ? projectToJson(doc) : projectToLines(doc);
    return writeStdout(text, &error) ? Done : failure(error);
}

} // namespace

Command showCommand()
{
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("one JSON object, the form that pack reads"));
    return {
        .name = QStringLiteral("show"),
        .summary = QStringLiteral("write the values of a project file as text"),
        .description = QStringLiteral(
            "Writes the values of a Quillmark project file as Open reads them, one line per\n"
            "field in the order of the file, in UTF-8: `key: VALUE`, or with --json one JSON\n"
            "object. A text is a JSON string of the whole text, a list the text of its item\n"
            "or null, a check box true or false. A stored value that Open changes (a list\n"
            "position outside its items, a check box byte other than 0 and 1, a text length\n"
            "beyond its field, whole texts after the record that are damaged) is shown as\n"
            "Open leaves it, with a warning on standard error."),
        .options = {json},
        .arguments = {QStringLiteral("PROJECT.qmk")},
        .run =
            [=](const QCommandLineParser &parser) {
                return show(parser.positionalArguments().constFirst(), parser.isSet(json));
            },
    };
}

} // namespace quill::cli
