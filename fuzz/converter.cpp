// The HTML-to-JavaScript converter, built with tiny buffers: its output must be what the
// plain whole-text conversion gives, byte for byte, and so must its runs of whole blocks.

#include "fuzz_files.h"

#include "common/converter_reference.h"
#include "tools/html_to_js.h"
#include "tools/html_to_js_blocks.h"

#include <QFile>

#include <cstdio>
#include <functional>

namespace {

using namespace quill;

// The implementations this processor can run, each checked below; the rest are named once.
const QList<const blocks::Implementation *> &kernelsHere()
{
    static const QList<const blocks::Implementation *> here = [] {
        for (const blocks::Implementation *kernels : blocks::implementations()) {
            if (!kernels->supported())
                std::fprintf(stderr, "%s: this processor cannot run it, left unchecked\n",
                             kernels->name);
        }
        return blocks::supportedImplementations();
    }();
    return here;
}

void check(const blocks::Implementation &kernels, const QByteArray &fault)
{
    if (!fault.isEmpty())
        std::fprintf(stderr, "%s: %s\n", kernels.name, fault.constData());
    FUZZ_CHECK(fault.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::InputFile input(data, size);
    const QString destination = fuzz::outputPath("out.js");
    const QByteArray text = fuzz::bytes(data, size);
    const QByteArray expected = reference(text);
    const QByteArray source = text + blocks::CtrlZ + QByteArray(blocks::BlockSize, '\0');
    for (const blocks::Implementation *kernels : kernelsHere()) {
        // Without progress the lines are not counted first; with it they are.
        for (const std::function<void(int)> &progress :
             {std::function<void(int)>(), std::function<void(int)>([](int) {})}) {
            const ConversionResult result = convertHtmlToJs(input.path(), destination, false, false,
                                                            QDateTime(), progress, *kernels);
            FUZZ_CHECK(result.succeeded());
            QFile written(destination);
            FUZZ_CHECK(written.open(QIODevice::ReadOnly));
            FUZZ_CHECK(written.readAll() == expected && result.lines == expected.count("\r\n"));
        }

        // Only every third read above holds whole blocks: runs of them are also checked in
        // memory, from a line's start and from inside a line, with every line due and with
        // some.
        for (const bool inText : {false, true}) {
            for (const qsizetype most : {qsizetype(1) << 40, qsizetype(size % 5)})
                check(*kernels, blockRunFault(*kernels, text, inText, most));
        }

        // Line by line, from every byte, with the blanks skipped first and without.
        for (qsizetype at = 0; at < qsizetype(size); ++at) {
            for (const bool skip : {false, true})
                check(*kernels, lineFault(*kernels, source, skip, at));
        }
    }
    return 0;
}
