// The JSON reader behind pack: any bytes are either taken or refused with at least one
// fault, each placed as NAME:LINE:COLUMN; what is taken shows and packs back the same.

#include "fuzz_files.h"

#include "files/project_record.h"
#include "files/project_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quill;
    const QByteArray json = fuzz::bytes(data, size);
    TProjectRecord record;
    record.bytes.fill(0xA5);
    const TProjectRecord untouched = record;
    QStringList faults;
    if (!projectFromJson(json, QStringLiteral("in.json"), &record, &faults)) {
        FUZZ_CHECK(!faults.isEmpty() && record == untouched);
        for (const QString &fault : std::as_const(faults))
            FUZZ_CHECK(fault.startsWith(QStringLiteral("in.json:")));
        return 0;
    }
    FUZZ_CHECK(faults.isEmpty());
    TProjectRecord again;
    FUZZ_CHECK(projectFromJson(projectToJson(record), QStringLiteral("-"), &again, &faults));
    FUZZ_CHECK(again == record);
    return 0;
}
