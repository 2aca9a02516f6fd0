#include "pages/unified_diff.h"

#include <QFile>

#include <algorithm>

namespace quill {
namespace {

constexpr qsizetype context = 3;

// The page cut into lines, each with its line ending; the offset where each begins.
struct Lines {
    QList<QByteArrayView> text;
    QList<qsizetype> start;
};

Lines splitLines(QByteArrayView page)
{
    Lines out;
    qsizetype at = 0;
    while (at < page.size()) {
        qsizetype end = at;
        while (end < page.size() && page[end] != '\n')
            ++end;
        if (end < page.size())
            ++end;
        out.text << page.sliced(at, end - at);
        out.start << at;
        at = end;
    }
    return out;
}

// The line that holds byte `offset` (the number of lines when it is the end).
qsizetype lineOf(const Lines &lines, qsizetype offset)
{
    const auto it = std::upper_bound(lines.start.begin(), lines.start.end(), offset);
    return std::max<qsizetype>(0, (it - lines.start.begin()) - 1);
}

void appendLine(QByteArray &out, char mark, QByteArrayView line)
{
    out += mark;
    out += line;
    if (!line.endsWith('\n'))
        out += "\n\\ No newline at end of file\n";
}

QByteArray range(qsizetype start, qsizetype count)
{
    // A hunk without lines on one side names the line before it.
    const qsizetype first = count == 0 ? start : start + 1;
    return QByteArray::number(first) + ',' + QByteArray::number(count);
}

// One change in whole lines: old lines [oldFirst, oldFirst + old.size()) give way to new.
struct Change {
    qsizetype oldFirst;
    QList<QByteArrayView> oldLines;
    QList<QByteArray> newLines;
};

QList<QByteArray> splitOwned(const QByteArray &text)
{
    QList<QByteArray> out;
    for (const QByteArrayView line : splitLines(text).text)
        out << line.toByteArray();
    return out;
}

} // namespace

QByteArray unifiedDiff(QByteArrayView page, const QList<PageEdit> &edits, const QString &name)
{
    const Lines lines = splitLines(page);
    // Each edit widened to whole lines; edits that share a line become one change.
    QList<Change> changes;
    qsizetype i = 0;
    while (i < edits.size()) {
        const qsizetype first = lineOf(lines, edits[i].begin);
        qsizetype last = first; // exclusive end, as a line number
        qsizetype j = i;
        QByteArray replaced;
        qsizetype at = first < lines.start.size() ? lines.start[first] : page.size();
        for (; j < edits.size(); ++j) {
            const qsizetype from = lineOf(lines, edits[j].begin);
            if (j > i && from >= last)
                break;
            replaced += page.sliced(at, edits[j].begin - at);
            replaced += edits[j].bytes;
            at = edits[j].end;
            const qsizetype endLine = edits[j].end > 0 ? lineOf(lines, edits[j].end - 1) + 1 : 0;
            last = std::max({last, endLine, from + 1});
            last = std::min(last, lines.text.size());
            // An edit that ends mid-line takes the rest of that line along.
        }
        const qsizetype endOffset = last < lines.start.size() ? lines.start[last] : page.size();
        replaced += page.sliced(at, std::max<qsizetype>(0, endOffset - at));
        Change change{first, lines.text.mid(first, last - first), splitOwned(replaced)};
        // Lines the same on both sides at either end are context, not change.
        while (!change.oldLines.isEmpty() && !change.newLines.isEmpty() &&
               change.oldLines.constFirst() == change.newLines.constFirst()) {
            change.oldLines.removeFirst();
            change.newLines.removeFirst();
            ++change.oldFirst;
        }
        while (!change.oldLines.isEmpty() && !change.newLines.isEmpty() &&
               change.oldLines.constLast() == change.newLines.constLast()) {
            change.oldLines.removeLast();
            change.newLines.removeLast();
        }
        if (!change.oldLines.isEmpty() || !change.newLines.isEmpty()) {
            // A change on the very next line joins the one before: one block of - and +.
            Change *previous = changes.isEmpty() ? nullptr : &changes.last();
            if (previous && previous->oldFirst + previous->oldLines.size() == change.oldFirst) {
                previous->oldLines += change.oldLines;
                previous->newLines += change.newLines;
            } else {
                changes << change;
            }
        }
        i = j;
    }
    if (changes.isEmpty())
        return {};

    const QByteArray encodedName = QFile::encodeName(name);
    QByteArray out = "--- a/" + encodedName + "\n+++ b/" + encodedName + "\n";
    qsizetype delta = 0; // new line number minus old, before the current hunk
    qsizetype c = 0;
    while (c < changes.size()) {
        // Changes closer than twice the context share a hunk.
        qsizetype d = c + 1;
        while (d < changes.size() &&
               changes[d].oldFirst - (changes[d - 1].oldFirst + changes[d - 1].oldLines.size()) <=
                   2 * context)
            ++d;
        const qsizetype start = std::max<qsizetype>(0, changes[c].oldFirst - context);
        const Change &lastChange = changes[d - 1];
        const qsizetype stop =
            std::min(lines.text.size(), lastChange.oldFirst + lastChange.oldLines.size() + context);
        QByteArray body;
        qsizetype oldCount = 0, newCount = 0;
        qsizetype line = start;
        qsizetype hunkDelta = 0;
        for (qsizetype k = c; k < d; ++k) {
            for (; line < changes[k].oldFirst; ++line, ++oldCount, ++newCount)
                appendLine(body, ' ', lines.text[line]);
            for (const QByteArrayView old : changes[k].oldLines)
                appendLine(body, '-', old);
            for (const QByteArray &added : changes[k].newLines)
                appendLine(body, '+', added);
            oldCount += changes[k].oldLines.size();
            newCount += changes[k].newLines.size();
            line += changes[k].oldLines.size();
            hunkDelta += changes[k].newLines.size() - changes[k].oldLines.size();
        }
        for (; line < stop; ++line, ++oldCount, ++newCount)
            appendLine(body, ' ', lines.text[line]);
        out += "@@ -" + range(start, oldCount) + " +" + range(start + delta, newCount) + " @@\n";
        out += body;
        delta += hunkDelta;
        c = d;
    }
    return out;
}

} // namespace quill
