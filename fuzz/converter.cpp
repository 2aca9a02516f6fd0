// The HTML-to-JavaScript converter, built with tiny buffers: its output must be what the
// plain whole-text conversion gives, byte for byte.

#include "fuzz_files.h"

#include "common/converter_reference.h"
#include "tools/html_to_js.h"
#include "tools/html_to_js_blocks.h"

#include <QFile>

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quill;
    const fuzz::InputFile input(data, size);
    const QString destination = fuzz::outputPath("out.js");
    const ConversionResult result =
        convertHtmlToJs(input.path(), destination, false, false, QDateTime(), {});
    FUZZ_CHECK(result.succeeded());
    QFile written(destination);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    FUZZ_CHECK(written.readAll() == reference(fuzz::bytes(data, size)));

    // Line by line, the block conversion this machine runs and the portable one agree.
    using namespace quill::blocks;
    const QByteArray source = fuzz::bytes(data, size) + CtrlZ + QByteArray(BlockSize, '\0');
    const auto *const begin = reinterpret_cast<const unsigned char *>(source.constData());
    QByteArray outFast(2 * source.size() + BlockSize, '\0');
    QByteArray outBytes = outFast;
    for (const unsigned char *p = begin; p - begin < qsizetype(size); ++p) {
        const unsigned char *fast = p;
        char *o1 = outFast.data();
        convertToLineEnd(fast, o1);
        char *o2 = outBytes.data();
        convertBytesToLineEnd(p, o2);
        FUZZ_CHECK(fast == p && o1 - outFast.data() == o2 - outBytes.data());
        FUZZ_CHECK(std::memcmp(outFast.constData(), outBytes.constData(),
                               std::size_t(o2 - outBytes.data())) == 0);
    }
    return 0;
}
