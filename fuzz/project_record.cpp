// The project file: load from a file of any length, the record and what follows it,
// apply, generate both ways, show, and show -> pack, which must give back what Save
// after Open writes; and Save after Open must open as the same document again.

#include "fuzz_files.h"

#include "document/meta_generator.h"
#include "files/export_text.h"
#include "files/project_file.h"
#include "files/project_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quill;
    const fuzz::InputFile input(data, size);
    ProjectFile file;
    QString error;
    if (!LoadProjectFile(input.path(), &file, &error)) {
        FUZZ_CHECK(size < size_t(TProjectRecord::Size) && !error.isEmpty());
        return 0;
    }

    TagDocument doc = TagDocument::startUp();
    QString note;
    ApplyProjectFile(file, doc, &note);
    for (const GenerationMode mode : {GenerationMode::MetaOnly, GenerationMode::FullPage}) {
        doc.setMode(mode);
        pageBytes(generateCodeText(doc), CharacterSet::of(doc));
    }
    projectNormalisations(file.record);
    projectToLines(doc);

    // A tail made elsewhere may hold texts longer than the window takes; pack names
    // those, and takes every other document back.
    bool windowSized = true;
    for (const FieldDef &def : fieldCatalogue())
        windowSized = windowSized && doc.text(def.id).size() <= longestText(def);
    TagDocument packed;
    QStringList faults;
    const bool taken = projectFromJson(projectToJson(doc), QStringLiteral("-"), &packed, &faults);
    FUZZ_CHECK(taken == windowSized);
    if (taken)
        FUZZ_CHECK(GatherProjectFile(packed) == GatherProjectFile(doc));

    TagDocument again = TagDocument::startUp();
    again.setMode(doc.mode());
    ApplyProjectFile(GatherProjectFile(doc), again, &note);
    FUZZ_CHECK(note.isEmpty() && again == doc);
    return 0;
}
