// The JSON reader behind pack: any bytes are either taken or refused with at least one
// fault, each placed as NAME:LINE:COLUMN; what is taken shows and packs back the same,
// and the file Save writes of it opens as the same document. The same bytes as a
// project file's tail never make Open fail.

#include "fuzz_files.h"

#include "files/project_file.h"
#include "files/project_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quill;
    const QByteArray json = fuzz::bytes(data, size);

    const ProjectFile tailed{GatherProject(TagDocument::startUp()), "Quillmark-Texts 1\n" + json};
    TagDocument fromTail = TagDocument::startUp();
    QString note;
    ApplyProjectFile(tailed, fromTail, &note);

    TagDocument doc = TagDocument::startUp();
    doc.setText(Field::Edit1, QStringLiteral("untouched"));
    const TagDocument untouched = doc;
    QStringList faults;
    if (!projectFromJson(json, QStringLiteral("in.json"), &doc, &faults)) {
        FUZZ_CHECK(!faults.isEmpty() && doc == untouched);
        for (const QString &fault : std::as_const(faults))
            FUZZ_CHECK(fault.startsWith(QStringLiteral("in.json:")));
        return 0;
    }
    FUZZ_CHECK(faults.isEmpty());
    TagDocument again;
    FUZZ_CHECK(projectFromJson(projectToJson(doc), QStringLiteral("-"), &again, &faults));
    FUZZ_CHECK(again == doc);
    TagDocument opened = TagDocument::startUp();
    ApplyProjectFile(GatherProjectFile(doc), opened, &note);
    FUZZ_CHECK(note.isEmpty() && opened == doc);
    return 0;
}
