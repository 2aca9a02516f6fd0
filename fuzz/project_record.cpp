// The project record: load from a file of any length, apply, generate both ways, show,
// and show -> pack, which must give back what Save after Open writes.

#include "fuzz_files.h"

#include "document/ansi_codec.h"
#include "document/meta_generator.h"
#include "files/project_record.h"
#include "files/project_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quill;
    const fuzz::InputFile input(data, size);
    TProjectRecord record;
    QString error;
    if (!LoadProjectFile(input.path(), &record, &error)) {
        FUZZ_CHECK(size < size_t(TProjectRecord::Size) && !error.isEmpty());
        return 0;
    }

    TagDocument doc = TagDocument::startUp();
    ApplyProject(record, doc);
    for (const GenerationMode mode : {GenerationMode::MetaOnly, GenerationMode::FullPage}) {
        doc.setMode(mode);
        encodeAnsi(codePageText(generateMetaCode(doc)));
    }
    projectNormalisations(record);
    projectToLines(record);

    TProjectRecord packed;
    QStringList faults;
    FUZZ_CHECK(projectFromJson(projectToJson(record), QStringLiteral("-"), &packed, &faults));
    FUZZ_CHECK(packed == GatherProject(doc));
    return 0;
}
