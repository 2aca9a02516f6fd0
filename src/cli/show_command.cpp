// quillmark-cli show: a project file's values as text, one key per line.

#include "cli/command.h"

#include "files/project_record.h"
#include "files/project_text.h"

#include <cstdio>

namespace quill::cli {

namespace {

int show(const QString &project, bool json)
{
    QString error;
    TProjectRecord record;
    if (!readProject(project, &record, &error))
        return failure(error);

    // What reading changed is shown changed, so say so; the values are still the ones
    // Open would put into the fields.
    for (const QString &change : projectNormalisations(record))
        std::fprintf(stderr, "quillmark-cli: warning: %s\n", change.toUtf8().constData());

    const QByteArray text = json ? projectToJson(record) : projectToLines(record);
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
            "object. A text is a JSON string, a list the text of its item or null, a check\n"
            "box true or false. A stored value that Open changes (a list position outside\n"
            "its items, a check box byte other than 0 and 1, a text length beyond its\n"
            "field) is shown as Open leaves it, with a warning on standard error."),
        .options = {json},
        .arguments = {QStringLiteral("PROJECT.qmk")},
        .run =
            [=](const QCommandLineParser &parser) {
                return show(parser.positionalArguments().constFirst(), parser.isSet(json));
            },
    };
}

} // namespace quill::cli
