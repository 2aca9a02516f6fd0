#include "pages/page_edits.h"

#include <algorithm>

namespace quill {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// Where the blanks before `at` begin; they lead the line when a line ending or the page's
// start lies just before them. Reading back over blanks only keeps the time linear in the
// page, however many elements share a line.
qsizetype blanksBefore(QByteArrayView page, qsizetype at)
{
    while (at > 0 && isBlank(page[at - 1]))
        --at;
    return at;
}

bool startsLine(QByteArrayView page, qsizetype at)
{
    return at == 0 || isLineBreak(page[at - 1]);
}

qsizetype blanksAfter(QByteArrayView page, qsizetype at)
{
    while (at < page.size() && isBlank(page[at]))
        ++at;
    return at;
}

// The length of the line ending at `at`: 2 for CR LF, 1 for LF or CR, 0 for none.
qsizetype lineBreakLength(QByteArrayView page, qsizetype at)
{
    if (at >= page.size() || !isLineBreak(page[at]))
        return 0;
    return page[at] == '\r' && at + 1 < page.size() && page[at + 1] == '\n' ? 2 : 1;
}

// The blanks that lead the line on which `at` stands.
QByteArray lineIndentation(QByteArrayView page, qsizetype at)
{
    qsizetype start = at;
    while (start > 0 && !isLineBreak(page[start - 1]))
        --start;
    return page.sliced(start, blanksAfter(page, start) - start).toByteArray();
}

// The blanks before the first element of the head that begins a line of its own.
QByteArray headIndentation(QByteArrayView page, const PageHead &head)
{
    for (const HeadItem &item : head.items) {
        const qsizetype start = blanksBefore(page, item.begin);
        if (startsLine(page, start))
            return page.sliced(start, item.begin - start).toByteArray();
    }
    return {};
}

bool beginsReference(QStringView text, qsizetype at)
{
    if (at + 1 >= text.size())
        return false;
    const QChar next = text[at + 1];
    return next == QLatin1Char('#') || (next.unicode() < 0x80 && (next.isLetterOrNumber()));
}

// A value written without quotes ends at a blank or ">" and may not hold a quote, "=",
// "<" or "`"; an empty one would take the next attribute's name for its value.
bool needsQuotes(QStringView markup)
{
    return markup.isEmpty() || std::any_of(markup.begin(), markup.end(), [](QChar c) {
               return QStringView(u" \t\n\f\r\"'=<>`").contains(c);
           });
}

void appendReference(QByteArray *bytes, char32_t code)
{
    *bytes += "&#" + QByteArray::number(uint(code)) + ';';
}

} // namespace

QByteArray spliced(QByteArrayView page, const QList<PageEdit> &edits)
{
    QByteArray out;
    out.reserve(page.size() + 4096);
    qsizetype at = 0;
    for (const PageEdit &edit : edits) {
        out.append(page.sliced(at, edit.begin - at));
        out.append(edit.bytes);
        at = edit.end;
    }
    out.append(page.sliced(at));
    return out;
}

bool orderEdits(QByteArrayView page, QList<PageEdit> *edits)
{
    edits->removeIf([page](const PageEdit &edit) {
        return page.sliced(edit.begin, edit.end - edit.begin) == edit.bytes;
    });
    std::stable_sort(edits->begin(), edits->end(), [](const PageEdit &a, const PageEdit &b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
    });
    for (qsizetype i = 1; i < edits->size(); ++i) {
        if ((*edits)[i].begin < (*edits)[i - 1].end)
            return false;
    }
    return true;
}

qsizetype placeAfterEdits(const QList<PageEdit> &edits, qsizetype index)
{
    qsizetype at = edits[index].begin;
    for (qsizetype i = 0; i < index; ++i)
        at += edits[i].bytes.size() - (edits[i].end - edits[i].begin);
    return at;
}

QByteArray lineEnding(QByteArrayView page)
{
    const qsizetype lf = page.indexOf('\n');
    if (lf < 0)
        return page.contains('\r') ? "\r" : "\r\n";
    return lf > 0 && page[lf - 1] == '\r' ? "\r\n" : "\n";
}

PageEdit removal(QByteArrayView page, qsizetype begin, qsizetype end)
{
    const qsizetype start = blanksBefore(page, begin);
    const qsizetype after = blanksAfter(page, end);
    const qsizetype eol = lineBreakLength(page, after);
    if (startsLine(page, start) && eol > 0)
        return {start, after + eol, {}};
    return {begin, end, {}};
}

PageEdit attributeRemoval(QByteArrayView page, qsizetype begin, qsizetype end)
{
    qsizetype start = begin;
    while (start > 0 &&
           (isBlank(page[start - 1]) || isLineBreak(page[start - 1]) || page[start - 1] == '\f'))
        --start;
    return {start, end, {}};
}

PageEdit insertionAt(QByteArrayView page, qsizetype at, const QByteArray &element)
{
    return {at, at, startsLine(page, at) ? element + lineEnding(page) : element};
}

PageEdit insertionAfter(QByteArrayView page, qsizetype begin, qsizetype end,
                        const QList<QByteArray> &elements)
{
    const qsizetype after = blanksAfter(page, end);
    if (after < page.size() && !isLineBreak(page[after])) {
        // The element shares its line with what follows: so do the new ones.
        return {end, end, elements.join()};
    }
    const QByteArray eol = lineEnding(page);
    const QByteArray indent = lineIndentation(page, begin);
    QByteArray text;
    for (const QByteArray &element : elements)
        text += indent + element + eol;
    if (after == page.size()) // the page ends on the element's line
        return {after, after, eol + text.chopped(eol.size())};
    const qsizetype next = after + lineBreakLength(page, after);
    return {next, next, text};
}

PageEdit insertionAtHeadEnd(QByteArrayView page, const PageHead &head,
                            const QList<QByteArray> &elements)
{
    const qsizetype at = head.headEnd;
    const QByteArray eol = lineEnding(page);
    const QByteArray indent = headIndentation(page, head);
    const qsizetype start = blanksBefore(page, at);
    QByteArray text;
    if (startsLine(page, start)) {
        // The head ends on a line of its own: the elements go before that line.
        for (const QByteArray &element : elements)
            text += indent + element + eol;
        return {start, start, text};
    }
    for (const QByteArray &element : elements)
        text += eol + indent + element;
    return {at, at, text + eol};
}

bool encodeForPage(QStringView text, const ValueWriting &how, QByteArray *bytes, QString *error)
{
    bytes->clear();
    if (how.asciiOnly) {
        for (const char32_t code : text.toUcs4()) {
            if (code < 0x80)
                *bytes += char(code);
            else
                appendReference(bytes, code);
        }
        return true;
    }
    if (how.charset.encode(text, bytes, error))
        return true;
    if (!how.references)
        return false;
    // Character by character only where the set lacks one.
    bytes->clear();
    for (const char32_t code : text.toUcs4()) {
        QByteArray one;
        QString lacking;
        if (how.charset.encode(QString::fromUcs4(&code, 1), &one, &lacking))
            *bytes += one;
        else
            appendReference(bytes, code);
    }
    return true;
}

QString valueMarkup(QStringView text, char quote, ValueWriting::Kind kind, bool title)
{
    const auto escaped = [&](bool ampersands) {
        QString out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (ampersands && c == u'&' && beginsReference(text, i))
                out += QLatin1StringView("&amp;");
            else if (quote == '"' && c == u'"')
                out += QLatin1StringView("&quot;");
            else if (quote == '\'' && c == u'\'')
                out += QLatin1StringView("&#39;");
            else
                out += c;
        }
        return title ? titleMarkup(out) : out;
    };
    const QString plain = escaped(false);
    // An "&" that the parser would read as the start of a reference is escaped; none is
    // where the text reads as itself without.
    if (kind == ValueWriting::Kind::Markup || !text.contains(u'&') ||
        readMarkup(plain, title, quote) == text)
        return plain;
    return escaped(true);
}

bool valueEdit(const HeadItem &item, QStringView text, const ValueWriting &how, PageEdit *edit,
               QString *error)
{
    QString markup;
    switch (item.form) {
    case ValueForm::Text:
        // A comment's text is no markup; the title's is read as text up to its end tag.
        markup = item.slot == QLatin1StringView("comment") ? text.toString()
                                                           : valueMarkup(text, 0, how.kind, true);
        break;
    case ValueForm::Quoted:
        markup = valueMarkup(text, item.quote, how.kind);
        break;
    case ValueForm::Unquoted:
        markup = valueMarkup(text, 0, how.kind);
        if (needsQuotes(markup))
            markup = QLatin1Char('"') + valueMarkup(text, '"', how.kind) + QLatin1Char('"');
        break;
    case ValueForm::Bare:
        markup = QStringLiteral("=\"") + valueMarkup(text, '"', how.kind) + QLatin1Char('"');
        break;
    case ValueForm::Missing:
        markup = QLatin1Char(' ') + QString::fromLatin1(item.attribute) + QStringLiteral("=\"") +
                 valueMarkup(text, '"', how.kind) + QLatin1Char('"');
        break;
    }
    QByteArray bytes;
    if (!encodeForPage(markup, how, &bytes, error))
        return false;
    *edit = {item.valueBegin, item.valueEnd, bytes};
    return true;
}

} // namespace quill
