// quillmark-cli generate: the code page of a project file, as Export As HTML writes it.

#include "cli/command.h"

#include "document/meta_generator.h"
#include "document/tag_document.h"
#include "files/export_text.h"
#include "files/file_io.h"
#include "files/project_file.h"

#include <cstdio>

namespace quill::cli {

namespace {

int generate(const QString &project, bool metaOnly, const QString &output)
{
    QString error;
    if (!distinctArguments({project}, {output}, &error))
        return failure(error);
    ProjectFile file;
    if (!readProject(project, &file, &error))
        return failure(error);

    TagDocument doc = TagDocument::startUp();
    QString tailNote;
    ApplyProjectFile(file, doc, &tailNote);
    if (!tailNote.isEmpty())
        warning(project,
                tailNote + QStringLiteral("; the code has the texts as the record holds them"));
    doc.setMode(metaOnly ? GenerationMode::MetaOnly : GenerationMode::FullPage);
    const QByteArray bytes = pageBytes(generateCodeText(doc), CharacterSet::of(doc));

    return writeOutput(output, bytes, &error) ? Done : failure(error);
}

} // namespace

Command generateCommand()
{
    const QCommandLineOption metaOnly(QStringLiteral("meta-only"),
                                      QStringLiteral("the meta lines alone instead of a whole "
                                                     "HTML page"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("write to FILE instead of standard output"),
                                    QStringLiteral("FILE"));
    return {
        .name = QStringLiteral("generate"),
        .summary = QStringLiteral("write the meta code of a project file"),
        .description = QStringLiteral(
            "Writes the meta code of a Quillmark project file, exactly as Export As HTML\n"
            "would write the generated code page: in the character set the project declares,\n"
            "a character it lacks as a reference such as &#937;, CR LF between lines."),
        .options = {metaOnly, output},
        .arguments = {QStringLiteral("PROJECT.qmk")},
        .run =
            [=](const QCommandLineParser &parser) {
                return generate(parser.positionalArguments().constFirst(), parser.isSet(metaOnly),
                                parser.isSet(output) ? parser.value(output) : QStringLiteral("-"));
            },
    };
}

} // namespace quill::cli
