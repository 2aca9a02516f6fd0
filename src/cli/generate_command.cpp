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
    if (!output.isEmpty() && !distinctFiles({project}, {output}, &error))
        return failure(error);
    ProjectFile file;
    if (!LoadProjectFile(project, &file, &error))
        return failure(error);

    TagDocument doc = TagDocument::startUp();
    QString tailNote;
    ApplyProjectFile(file, doc, &tailNote);
    if (!tailNote.isEmpty())
        std::fprintf(stderr,
                     "quillmark-cli: warning: %s; the code has the texts as the record "
                     "holds them\n",
                     tailNote.toUtf8().constData());
    doc.setMode(metaOnly ? GenerationMode::MetaOnly : GenerationMode::FullPage);
    const QByteArray bytes = pageBytes(generateCodeText(doc), CharacterSet::of(doc));

    const bool written =
        output.isEmpty() ? writeStdout(bytes, &error) : replaceFile(output, bytes, &error);
    return written ? Done : failure(error);
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
                                parser.value(output));
            },
    };
}

} // namespace quill::cli
