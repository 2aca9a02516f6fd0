#include "pages/page_apply.h"

#include "pages/head_lines.h"
#include "pages/page_charset.h"
#include "pages/page_head.h"

#include <QMap>

#include <algorithm>

namespace quill {
namespace {

const QString contentTypeSlot = QStringLiteral("http-equiv=content-type");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
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
    return at == 0 || page[at - 1] == '\n' || page[at - 1] == '\r';
}

// The page's own line ending: that of its first line; CR LF, the program's, when it
// has a single line.
QByteArray lineEnding(QByteArrayView page)
{
    const qsizetype lf = page.indexOf('\n');
    if (lf < 0)
        return page.contains('\r') ? "\r" : "\r\n";
    return lf > 0 && page[lf - 1] == '\r' ? "\r\n" : "\n";
}

// The blanks before the first element of the head that begins a line of its own.
QByteArray indentation(QByteArrayView page, const PageHead &head)
{
    for (const HeadItem &item : head.items) {
        const qsizetype start = blanksBefore(page, item.begin);
        if (startsLine(page, start))
            return page.sliced(start, item.begin - start).toByteArray();
    }
    return {};
}

// The range that removes an element: its whole line when nothing else stands on it.
PageEdit removal(QByteArrayView page, const HeadItem &item)
{
    qsizetype begin = item.begin;
    qsizetype end = item.end;
    const qsizetype start = blanksBefore(page, begin);
    qsizetype after = end;
    while (after < page.size() && isBlank(page[after]))
        ++after;
    const bool lineEnds = after == page.size() || page[after] == '\n' || page[after] == '\r';
    if (startsLine(page, start) && lineEnds && after < page.size()) {
        begin = start;
        end = after +
              ((page[after] == '\r' && after + 1 < page.size() && page[after + 1] == '\n') ? 2 : 1);
    }
    return {begin, end, {}};
}

PageEdit insertion(QByteArrayView page, qsizetype at, const QList<QByteArray> &lines,
                   const QByteArray &indent)
{
    const QByteArray eol = lineEnding(page);
    const qsizetype start = blanksBefore(page, at);
    QByteArray text;
    if (startsLine(page, start)) {
        // The head ends on a line of its own: the lines go before that line.
        for (const QByteArray &line : lines)
            text += indent + line + eol;
        return {start, start, text};
    }
    for (const QByteArray &line : lines)
        text += eol + indent + line;
    return {at, at, text + eol};
}

struct Setting {
    PageCharset charset;  // what the values are written in
    bool keepDeclaration; // the page's Content-Type is left alone
};

bool chooseCharset(QByteArrayView page, const PageHead &head, const TagDocument &project,
                   const ApplyOptions &options, Setting *setting, QString *error)
{
    using Source = PageEncoding::Source;
    const QString projectLabel = project.value(Field::ComboBox4);
    const PageCharset wanted = PageCharset::forLabel(projectLabel.toLatin1());
    PageEncoding own;
    if (!pageEncoding(page, head, &own, error))
        return false;
    // Plain ASCII reads the same in every set: it takes the project's, and when the
    // project names none, stays in the one it is read in.
    if (own.source == Source::PlainAscii) {
        *setting = {wanted.isValid() ? wanted : own.charset, false};
        return true;
    }
    if (wanted.isValid() && own.charset.sameAs(wanted)) {
        // A page that declares its set by <meta charset> alone keeps that.
        const bool metaCharset =
            own.source == Source::Declaration && !own.declaration.byContentType;
        *setting = {wanted, metaCharset};
        return true;
    }
    // Neither the page nor the project names a set: the page keeps the one it is in.
    if (!wanted.isValid() && own.source == Source::Content) {
        *setting = {own.charset, false};
        return true;
    }
    if (options.keepCharset) {
        *setting = {own.charset, true};
        return true;
    }
    const QString named = wanted.isValid() ? QStringLiteral("has %1").arg(projectLabel)
                                           : QStringLiteral("names no character set");
    *error = QStringLiteral("The page %1, the project %2; --keep-charset keeps the page's")
                 .arg(own.reason, named);
    return false;
}

} // namespace

bool planApply(QByteArrayView page, const TagDocument &project, const ApplyOptions &options,
               QList<PageEdit> *edits, QStringList *notes, QString *error)
{
    return HeadWriter(project, options).plan(page, edits, notes, error);
}

HeadWriter::HeadWriter(const TagDocument &project, const ApplyOptions &options)
    : m_project(project)
    , m_options(options)
    , m_lines(generatedHeadLines(project))
    , m_charset(PageCharset::forLabel(project.value(Field::ComboBox4).toLatin1()))
{
    // Most pages are in the project's set: its lines are written in it once.
    for (const SlotLine &line : std::as_const(m_lines)) {
        QByteArray bytes;
        QString fault;
        if (!m_charset.encode(line.line, &bytes, &fault)) {
            m_charset = PageCharset();
            m_encoded.clear();
            break;
        }
        m_encoded << bytes;
    }
}

bool HeadWriter::plan(QByteArrayView page, QList<PageEdit> *edits, QStringList *notes,
                      QString *error) const
{
    return plan(page, readPageHead(page), edits, notes, error);
}

bool HeadWriter::plan(QByteArrayView page, const PageHead &head, QList<PageEdit> *edits,
                      QStringList *notes, QString *error) const
{
    const TagDocument &project = m_project;
    const ApplyOptions &options = m_options;
    edits->clear();
    notes->clear();
    if (hasUtf16Bom(page)) {
        *error = QStringLiteral("UTF-16 pages cannot be written");
        return false;
    }
    if (!head.isHtml || !head.error.isEmpty()) {
        *error = head.isHtml ? head.error : QStringLiteral("Not an HTML page");
        return false;
    }
    Setting setting;
    if (!chooseCharset(page, head, project, options, &setting, error))
        return false;

    QMap<QString, QList<const HeadItem *>> found;
    for (const HeadItem &item : head.items) {
        if (managedSlots().contains(item.slot))
            found[item.slot] << &item;
    }
    QList<PageEdit> out;
    QList<QByteArray> missing;
    QStringList written;
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const SlotLine &line = m_lines[index];
        written << line.slot;
        // The page's own title stays when the project has none.
        if (!isMetaSlot(line.slot) && line.value.isEmpty())
            continue;
        const QList<const HeadItem *> items = found.value(line.slot);
        if (line.slot == contentTypeSlot && setting.keepDeclaration &&
            (options.keepCharset || items.isEmpty()))
            continue;
        QByteArray bytes = m_encoded.value(index);
        QString fault;
        if (!setting.charset.sameAs(m_charset) &&
            !setting.charset.encode(line.line, &bytes, &fault)) {
            *error = QStringLiteral("The line of %1: %2").arg(slotLabel(line.slot), fault);
            return false;
        }
        if (items.isEmpty()) {
            missing << bytes;
            continue;
        }
        const HeadItem &first = *items.constFirst();
        if (page.sliced(first.begin, first.end - first.begin) != bytes)
            out << PageEdit{first.begin, first.end, bytes};
        for (qsizetype i = 1; i < items.size(); ++i) {
            *notes << QStringLiteral("%1: removed a second %2 (the first is on line %3)")
                          .arg(items[i]->line)
                          .arg(slotLabel(line.slot))
                          .arg(first.line);
            out << removal(page, *items[i]);
        }
    }
    // A meta tag the project leaves empty goes; the title, the links and the comment
    // may be the page's own and stay.
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        if (written.contains(it.key()) || !isMetaSlot(it.key()))
            continue;
        if (it.key() == contentTypeSlot && setting.keepDeclaration)
            continue;
        for (const HeadItem *item : it.value())
            out << removal(page, *item);
    }
    if (!missing.isEmpty())
        out << insertion(page, head.headEnd, missing, indentation(page, head));

    std::stable_sort(out.begin(), out.end(), [](const PageEdit &a, const PageEdit &b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
    });
    for (qsizetype i = 1; i < out.size(); ++i) {
        if (out[i].begin < out[i - 1].end) {
            *error = QStringLiteral("The head's elements overlap where lines would go");
            return false;
        }
    }
    // Where the lines go, the parser may still be inside a comment or a <title> that is
    // never closed (at the page's end, or before an end tag the page leaves unfinished),
    // and lines put there would be its text: make sure they are read back as tags.
    if (!missing.isEmpty()) {
        // The lines are the last edit, at the head's end: find them in the new page.
        qsizetype start = out.constLast().begin;
        for (qsizetype i = 0; i + 1 < out.size(); ++i)
            start += out[i].bytes.size() - (out[i].end - out[i].begin);
        const qsizetype end = start + out.constLast().bytes.size();
        const PageHead after = readPageHead(spliced(page, out));
        const auto inserted =
            std::count_if(after.items.begin(), after.items.end(), [&](const HeadItem &item) {
                return item.begin >= start && item.end <= end;
            });
        if (inserted != missing.size()) {
            *error = QStringLiteral("The page ends inside a comment or element that is never "
                                    "closed; the lines it lacks would become its text");
            return false;
        }
    }
    *edits = out;
    return true;
}

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

} // namespace quill
