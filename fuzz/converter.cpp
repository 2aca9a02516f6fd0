// The HTML-to-JavaScript converter, built with tiny buffers: its output must be what the
// plain whole-text conversion gives, byte for byte.

#include "fuzz_files.h"

#include "common/converter_reference.h"
#include "tools/html_to_js.h"

#include <QFile>

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
    return 0;
}
