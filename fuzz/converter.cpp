// The HTML-to-JavaScript converter, built with tiny buffers: its output must be what the
// plain whole-text conversion gives, byte for byte, and so must its runs of whole blocks.

#include "fuzz_files.h"

#include "common/converter_reference.h"
#include "tools/html_to_js.h"
#include "tools/html_to_js_blocks.h"

#include <QFile>

#include <cstdio>
#include <cstring>
#include <functional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace quill;
    const fuzz::InputFile input(data, size);
    const QString destination = fuzz::outputPath("out.js");
    // Without progress the lines are not counted first; with it they are.
    for (const std::function<void(int)> &progress :
         {std::function<void(int)>(), std::function<void(int)>([](int) {})}) {
        const ConversionResult result =
            convertHtmlToJs(input.path(), destination, false, false, QDateTime(), progress);
        FUZZ_CHECK(result.succeeded());
        QFile written(destination);
        FUZZ_CHECK(written.open(QIODevice::ReadOnly));
        const QByteArray expected = reference(fuzz::bytes(data, size));
        FUZZ_CHECK(written.readAll() == expected && result.lines == expected.count("\r\n"));
    }

    // Only every third read above holds whole blocks: runs of them are also checked in
    // memory, from a line's start and from inside a line, with every line due and with some.
    for (const bool inText : {false, true}) {
        for (const qsizetype most : {qsizetype(1) << 40, qsizetype(size % 5)}) {
            const QByteArray fault = blockRunFault(fuzz::bytes(data, size), inText, most);
            if (!fault.isEmpty())
                std::fprintf(stderr, "%s\n", fault.constData());
            FUZZ_CHECK(fault.isEmpty());
        }
    }

    // Line by line, every block conversion this machine can run and the portable one agree,
    // and so do the blanks skipped and the line converted in one pass.
    using namespace quill::blocks;
    const QByteArray source = fuzz::bytes(data, size) + CtrlZ + QByteArray(BlockSize, '\0');
    const auto *const begin = reinterpret_cast<const unsigned char *>(source.constData());
    QByteArray outFast(2 * source.size() + 2 * BlockSize, '\0');
    QByteArray outBytes = outFast;
    const QList<LineConversion> ways = lineConversions();
    for (const unsigned char *at = begin; at - begin < qsizetype(size); ++at) {
        for (const bool skip : {false, true}) {
            // Nothing may be written before the output's start.
            std::memset(outFast.data(), '#', BlockSize);
            std::memset(outBytes.data(), '#', BlockSize);
            const unsigned char *p = skip ? skipBlanks(at) : at;
            char *o2 = outBytes.data() + BlockSize;
            convertBytesToLineEnd(p, o2);
            const LineSpan span = convertLine(at, outFast.data() + BlockSize, skip);
            FUZZ_CHECK(span.end == p && span.out - outFast.data() == o2 - outBytes.data());
            FUZZ_CHECK(std::memcmp(outFast.constData(), outBytes.constData(),
                                   std::size_t(o2 - outBytes.data())) == 0);
        }
        for (const LineConversion convert : ways) {
            const unsigned char *fast = at;
            char *o1 = outFast.data();
            convert(fast, o1);
            const unsigned char *p = at;
            char *o2 = outBytes.data();
            convertBytesToLineEnd(p, o2);
            FUZZ_CHECK(fast == p && o1 - outFast.data() == o2 - outBytes.data());
            FUZZ_CHECK(std::memcmp(outFast.constData(), outBytes.constData(),
                                   std::size_t(o2 - outBytes.data())) == 0);
        }
    }
    return 0;
}
