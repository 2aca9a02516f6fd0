// The import reader: the text up to the first zero byte with CR LF breaks, every break
// of the file one CR LF, read as UTF-8 (a byte-order mark dropped) or in the project's
// Western set.

#include "fuzz_files.h"

#include "document/ansi_codec.h"
#include "document/line_breaks.h"
#include "files/import_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quill;
    const fuzz::InputFile input(data, size);
    QString text;
    QString error;
    FUZZ_CHECK(readImportText(input.path(), CharacterSet::western(), &text, &error));
    QByteArray bytes = fuzz::bytes(data, size);
    if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0)
        bytes.truncate(zero);
    const QByteArray expected =
        bytes.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
    const QByteArray utf8 = expected.startsWith("\xEF\xBB\xBF") ? expected.sliced(3) : expected;
    FUZZ_CHECK(encodeAnsi(text) == expected || text.toUtf8() == utf8);
    FUZZ_CHECK(withCrLfBreaks(text) == text);
    return 0;
}
