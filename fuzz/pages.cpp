// Reading and writing page heads on random pages: nothing crashes, apply changes no
// byte outside the elements the reader names, the blanks and line ends around them and
// the place where the head ends, and a second apply changes nothing.

#include "document/tag_document.h"
#include "pages/page_apply.h"
#include "pages/page_extract.h"
#include "pages/page_head.h"
#include "pages/unified_diff.h"

#include <cstdio>
#include <cstdlib>

#define PAGES_CHECK(condition)                                                                     \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__);            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace {

using namespace quill;

// A project that writes every line the generator can write.
TagDocument everyLine()
{
    TagDocument doc = TagDocument::startUp();
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind == FieldKind::Edit)
            doc.setText(def.id, QStringLiteral("v\"1"));
    }
    return doc;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether [begin, end) is a managed element, with at most blanks and line ends around it.
bool coversOneItem(QByteArrayView page, const PageHead &head, const PageEdit &edit)
{
    for (const HeadItem &item : head.items) {
        if (item.begin < edit.begin || item.end > edit.end)
            continue;
        const QByteArrayView before = page.sliced(edit.begin, item.begin - edit.begin);
        const QByteArrayView after = page.sliced(item.end, edit.end - item.end);
        if (std::all_of(before.begin(), before.end(), isSpace) &&
            std::all_of(after.begin(), after.end(), isSpace))
            return true;
    }
    return false;
}

void checkApply(QByteArrayView page, const TagDocument &project, bool keepCharset)
{
    QList<PageEdit> edits;
    QStringList notes;
    QString error;
    if (!planApply(page, project, ApplyOptions{keepCharset}, &edits, &notes, &error)) {
        // The elements the parser gives never overlap where lines would go.
        PAGES_CHECK(!error.contains(QLatin1StringView("overlap")));
        return;
    }
    const PageHead head = readPageHead(page);
    qsizetype at = 0;
    for (const PageEdit &edit : edits) {
        PAGES_CHECK(edit.begin >= at && edit.end >= edit.begin && edit.end <= page.size());
        at = edit.end;
        if (edit.begin == edit.end)
            PAGES_CHECK(edit.begin <= head.headEnd && edit.bytes.size() > 0);
        else
            PAGES_CHECK(coversOneItem(page, head, edit));
    }
    // What is outside the edits comes through byte for byte.
    const QByteArray out = spliced(page, edits);
    qsizetype from = 0;
    qsizetype to = 0;
    for (const PageEdit &edit : edits) {
        const qsizetype kept = edit.begin - from;
        PAGES_CHECK(QByteArrayView(out).sliced(to, kept) == page.sliced(from, kept));
        to += kept + edit.bytes.size();
        from = edit.end;
    }
    PAGES_CHECK(QByteArrayView(out).sliced(to) == page.sliced(from));
    unifiedDiff(page, edits, QStringLiteral("page.html"));
    // Applied once more, the project finds every line in place. (With the page's own
    // set kept, writing may remove the last 8-bit byte, and the page then takes the
    // project's declaration the next time.)
    if (!keepCharset) {
        QList<PageEdit> again;
        PAGES_CHECK(planApply(out, project, ApplyOptions{}, &again, &notes, &error));
        PAGES_CHECK(again.isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView page(reinterpret_cast<const char *>(data), qsizetype(size));
    static const TagDocument project = everyLine();
    TagDocument extracted;
    QStringList notes;
    QString error;
    const bool read = extractPage(page, &extracted, &notes, &error);
    for (const bool keep : {false, true}) {
        checkApply(page, project, keep);
        if (read)
            checkApply(page, extracted, keep);
    }
    return 0;
}
