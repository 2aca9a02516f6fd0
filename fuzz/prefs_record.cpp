// The preferences record: read from a file of any length; what the dialog stores and a
// start counts go back to the file and read back the same.

#include "fuzz_files.h"

#include "files/prefs_record.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quill;
    const fuzz::InputFile input(data, size);
    TPrefsRecord record;
    QString error;
    if (!loadPrefsFile(input.path(), &record, &error)) {
        FUZZ_CHECK(size < size_t(TPrefsRecord::Size));
        return 0;
    }
    const Preferences read = preferencesOf(record);
    storePreferences(record, read);
    FUZZ_CHECK(preferencesOf(record) == read);
    countStart(record);

    // The file must exist to be replaced.
    const QString path = fuzz::outputPath("prefs.cfg");
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(fuzz::bytes(data, size)) >= 0);
    file.close();
    FUZZ_CHECK(savePrefsFile(path, record, &error));
    TPrefsRecord again;
    FUZZ_CHECK(loadPrefsFile(path, &again, &error) && again == record);
    return 0;
}
