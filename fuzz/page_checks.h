// What the page harnesses check alike: a failed check aborts with its line, an edit may
// touch only the values of the elements the reader names, elements it removes whole (with
// the blanks and line ends around them) and the places where new ones go, and a project
// applied twice finds its lines in place the second time.
#pragma once

#include "pages/page_apply.h"
#include "pages/page_head.h"
#include "pages/unified_diff.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#define PAGES_CHECK(condition)                                                                     \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__);            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz {

using namespace quill;

inline bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether [begin, end) is a managed element, with at most blanks and line ends around it.
inline bool coversOneItem(QByteArrayView page, const PageHead &head, const PageEdit &edit)
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

// Whether [begin, end) lies within the value of an element: a value replaced.
inline bool withinOneValue(const PageHead &head, const PageEdit &edit)
{
    const auto within = [&edit](const HeadItem &item) {
        return item.valueBegin <= edit.begin && edit.end <= item.valueEnd;
    };
    return std::any_of(head.items.begin(), head.items.end(), within) ||
           (!head.lang.slot.isEmpty() && within(head.lang));
}

// Whether the edit keeps every byte but those of values, elements removed whole and the
// places where new ones go.
inline bool touchesOnlyValues(QByteArrayView page, const PageHead &head, const PageEdit &edit)
{
    return edit.begin == edit.end || withinOneValue(head, edit) ||
           coversOneItem(page, head, edit) ||
           (edit.begin < head.lang.begin && edit.end == head.lang.end);
}

// Applies with `writer`, then checks the edits, that `again` (the same project with the
// page's own set not kept) finds every line in place, and, when asked, the diff.
inline void checkApply(QByteArrayView page, const PageHead &head, const HeadWriter &writer,
                       const HeadWriter &again, bool keepCharset, bool diff)
{
    QList<PageEdit> edits;
    QStringList notes;
    QString error;
    if (!writer.plan(page, head, &edits, &notes, &error)) {
        // The elements the parser gives never overlap where lines would go.
        PAGES_CHECK(!error.contains(QLatin1StringView("overlap")));
        return;
    }
    qsizetype at = 0;
    for (const PageEdit &edit : edits) {
        PAGES_CHECK(edit.begin >= at && edit.end >= edit.begin && edit.end <= page.size());
        at = edit.end;
        PAGES_CHECK(touchesOnlyValues(page, head, edit));
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
    if (diff)
        unifiedDiff(page, edits, QStringLiteral("page.html"));
    // Applied once more, the project finds every line in place. (With the page's own
    // set kept, writing may remove the last 8-bit byte, and the page then takes the
    // project's declaration the next time.)
    // A page whose only elements went is no page to apply to any more.
    if (!keepCharset) {
        QList<PageEdit> more;
        PAGES_CHECK(again.plan(out, &more, &notes, &error) || !readPageHead(out).isHtml);
        PAGES_CHECK(more.isEmpty());
    }
}

} // namespace fuzz
