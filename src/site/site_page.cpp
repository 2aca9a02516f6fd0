#include "site/site_page.h"

#include "site/site_text.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace quill {
namespace {

using namespace Qt::Literals::StringLiterals;

// The column an element of the head fills, by its slot; none for the others.
const ColumnDef *columnOfSlot(const QString &slot)
{
    static const QHash<QString, const ColumnDef *> bySlot = [] {
        QHash<QString, const ColumnDef *> out;
        for (const ColumnDef &def : siteColumns()) {
            const QString tag = QLatin1StringView(def.tag);
            switch (def.source) {
            case ColumnSource::TitleText:
                out.insert(QStringLiteral("title"), &def);
                break;
            case ColumnSource::LinkHref:
                out.insert(QStringLiteral("link=") + tag, &def);
                break;
            case ColumnSource::Meta:
                out.insert(QStringLiteral("name=") + tag, &def);
                if (def.naming != MetaNaming::Name)
                    out.insert(QStringLiteral("property=") + tag, &def);
                break;
            default:
                break;
            }
        }
        return out;
    }();
    return bySlot.value(slot);
}

QString shownCell(const SiteCell &cell)
{
    return cell ? QLatin1Char('"') + *cell + QLatin1Char('"') : QStringLiteral("none");
}

// How the page closes its void elements: "/>" or " />" when its first one does.
QByteArray voidEnd(QByteArrayView page, const PageHead &head)
{
    qsizetype end = -1;
    for (const HeadItem &item : head.items) {
        if (item.slot.contains(QLatin1Char('='))) {
            end = item.end;
            break;
        }
    }
    if (!head.declarations.isEmpty() && (end < 0 || head.declarations.constFirst().end < end))
        end = head.declarations.constFirst().end;
    if (end < 3 || page[end - 2] != '/')
        return ">";
    return page[end - 3] == ' ' ? " />" : "/>";
}

} // namespace

CellChange cellChange(const SiteCell &page, const SiteCell &cell, bool title)
{
    if (!cell)
        return page ? CellChange::Remove : CellChange::None;
    if (cell->isEmpty())
        return page && !page->isEmpty() ? CellChange::Remove : CellChange::None;
    if (!page)
        return CellChange::Set;
    if (title)
        return site_text::collapsed(*page) == site_text::collapsed(*cell) ? CellChange::None
                                                                          : CellChange::Set;
    // A browser reads a CR LF, or a CR, as LF: a table from a spreadsheet may hold either.
    QString text = *cell;
    if (text.contains(u'\r'))
        text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    return *page == text ? CellChange::None : CellChange::Set;
}

bool SitePage::read(QByteArrayView bytes, QString *error)
{
    if (hasUtf16Bom(bytes)) {
        *error = QStringLiteral("UTF-16 pages cannot be read");
        return false;
    }
    PageHead head = readPageHead(bytes);
    if (!head.isHtml || !head.error.isEmpty()) {
        *error = head.isHtml ? head.error : QStringLiteral("Not an HTML page");
        return false;
    }
    PageEncoding encoding;
    if (!pageEncoding(bytes, head, &encoding, error))
        return false;
    m_bytes = bytes.toByteArray();
    m_head = std::move(head);
    m_encoding = encoding;
    m_tags = {};
    m_items = {};
    for (qsizetype i = 0; i < m_head.items.size(); ++i) {
        const HeadItem &item = m_head.items[i];
        const ColumnDef *def = columnOfSlot(item.slot);
        if (!def)
            continue;
        const auto index = static_cast<std::size_t>(def->column);
        ColumnTag &tag = m_tags[index];
        m_items[index] << i;
        if (tag.value) {
            tag.repeats << item.line;
            continue;
        }
        const QString text = itemText(m_bytes, item, m_encoding.charset);
        tag.value = def->source == ColumnSource::TitleText ? site_text::collapsed(text) : text;
        tag.line = item.line;
    }
    if (!m_head.lang.slot.isEmpty()) {
        ColumnTag &lang = m_tags[static_cast<std::size_t>(SiteColumn::Lang)];
        lang.value = itemText(m_bytes, m_head.lang, m_encoding.charset);
        lang.line = m_head.lang.line;
    }
    if (!m_encoding.declaration.label.isEmpty()) {
        ColumnTag &charset = m_tags[static_cast<std::size_t>(SiteColumn::Charset)];
        charset.value = QString::fromLatin1(m_encoding.declaration.label);
        charset.line = m_encoding.declaration.line;
    }
    return true;
}

const ColumnTag &SitePage::tag(SiteColumn column) const
{
    return m_tags[static_cast<std::size_t>(column)];
}

SiteRow SitePage::row(const QString &path, const QList<SiteColumn> &columns) const
{
    SiteRow out;
    out.cells.reserve(columns.size());
    for (const SiteColumn column : columns)
        out.cells << (column == SiteColumn::Page ? SiteCell(path) : tag(column).value);
    return out;
}

QStringList SitePage::repeatNotes() const
{
    QList<const HeadItem *> repeats;
    for (const ColumnDef &def : siteColumns()) {
        const QList<qsizetype> &items = m_items[static_cast<std::size_t>(def.column)];
        for (qsizetype i = 1; i < items.size(); ++i)
            repeats << &m_head.items[items[i]];
    }
    std::sort(repeats.begin(), repeats.end(),
              [](const HeadItem *a, const HeadItem *b) { return a->begin < b->begin; });
    QStringList out;
    for (const HeadItem *item : std::as_const(repeats)) {
        const SiteColumn column = columnOfSlot(item->slot)->column;
        out << QStringLiteral("%1: a second %2 (the first is on line %3)")
                   .arg(item->line)
                   .arg(slotLabel(item->slot))
                   .arg(tag(column).line);
    }
    return out;
}

const HeadItem *SitePage::firstItem(SiteColumn column) const
{
    const QList<qsizetype> &items = m_items[static_cast<std::size_t>(column)];
    return items.isEmpty() ? nullptr : &m_head.items[items.constFirst()];
}

bool SitePage::addLang(const QString &text, const ValueWriting &writing, QList<PageEdit> *edits,
                       QString *error) const
{
    PageEdit edit;
    if (m_head.langAt >= 0) {
        HeadItem missing;
        missing.form = ValueForm::Missing;
        missing.valueBegin = missing.valueEnd = m_head.langAt;
        missing.attribute = "lang";
        if (!valueEdit(missing, text, writing, &edit, error))
            return false;
    } else {
        // No <html> tag: one goes where the parser implies the element.
        QByteArray value;
        if (!encodeForPage(valueMarkup(text, '"', writing.kind), writing, &value, error))
            return false;
        edit = insertionAt(m_bytes, m_head.htmlStart, "<html lang=\"" + value + "\">");
    }
    *edits << edit;
    return true;
}

bool SitePage::plan(const QList<SiteColumn> &columns, const SiteRow &row, QList<PageEdit> *edits,
                    QString *error) const
{
    using Source = PageEncoding::Source;
    edits->clear();
    // A page that declares no set may be read in any: what it gains stays ASCII.
    const bool undeclared =
        m_encoding.source == Source::Content || m_encoding.source == Source::PlainAscii;
    const ValueWriting writing{ValueWriting::Kind::Shown, m_encoding.charset, undeclared, true};
    QList<PageEdit> out;
    QSet<qsizetype> removed;
    QList<QByteArray> added;
    bool reshaped = false; // a tag, or <html>, added or removed
    QString fault;
    const auto failed = [&](const ColumnDef &def) {
        *error = QStringLiteral("%1: %2").arg(QLatin1StringView(def.key), fault);
        return false;
    };
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const ColumnDef &def = siteColumn(columns[i]);
        if (def.source == ColumnSource::PagePath)
            continue;
        const SiteCell &cell = row.cells[i];
        const SiteCell &own = tag(def.column).value;
        const CellChange change = cellChange(own, cell, def.source == ColumnSource::TitleText);
        if (change == CellChange::None)
            continue;
        if (def.readOnly()) {
            *error = QStringLiteral("%1 cannot be changed in the table: the page declares %2, "
                                    "the table has %3")
                         .arg(QLatin1StringView(def.key), shownCell(own), shownCell(cell));
            return false;
        }
        if (def.source == ColumnSource::HtmlAttribute) {
            if (change == CellChange::Remove) {
                out << attributeRemoval(m_bytes, m_head.lang.begin, m_head.lang.end);
                reshaped = true;
            } else if (own) {
                PageEdit edit;
                if (!valueEdit(m_head.lang, *cell, writing, &edit, &fault))
                    return failed(def);
                out << edit;
            } else if (!addLang(*cell, writing, &out, &fault)) {
                return failed(def);
            } else {
                reshaped = reshaped || m_head.langAt < 0;
            }
            continue;
        }
        if (change == CellChange::Remove) {
            for (const qsizetype index : m_items[static_cast<std::size_t>(def.column)]) {
                const HeadItem &item = m_head.items[index];
                out << removal(m_bytes, item.begin, item.end);
                removed.insert(index);
                reshaped = true;
            }
            continue;
        }
        if (const HeadItem *item = firstItem(def.column)) {
            PageEdit edit;
            if (!valueEdit(*item, *cell, writing, &edit, &fault))
                return failed(def);
            out << edit;
            continue;
        }
        // A tag of its own, its value in double quotes.
        QString element;
        const QString tagName = QLatin1StringView(def.tag);
        const QString end = QString::fromLatin1(voidEnd(m_bytes, m_head));
        switch (def.source) {
        case ColumnSource::TitleText:
            element = QStringLiteral("<title>") + titleMarkup(valueMarkup(*cell, 0, writing.kind)) +
                      QStringLiteral("</title>");
            break;
        case ColumnSource::LinkHref:
            element = QStringLiteral("<link rel=\"%1\" href=\"%2\"")
                          .arg(tagName, valueMarkup(*cell, '"', writing.kind)) +
                      end;
            break;
        default:
            element = QStringLiteral("<meta %1=\"%2\" content=\"%3\"")
                          .arg(def.naming == MetaNaming::PropertyOrName ? QStringLiteral("property")
                                                                        : QStringLiteral("name"),
                               tagName, valueMarkup(*cell, '"', writing.kind)) +
                      end;
            break;
        }
        QByteArray bytes;
        if (!encodeForPage(element, writing, &bytes, &fault))
            return failed(def);
        added << bytes;
    }
    if (!added.isEmpty()) {
        reshaped = true;
        // After the last tag the table knows that stays, else after the declaration.
        const HeadItem *anchor = nullptr;
        for (const QList<qsizetype> &items : m_items) {
            for (const qsizetype index : items) {
                if (!removed.contains(index) &&
                    (!anchor || m_head.items[index].begin > anchor->begin))
                    anchor = &m_head.items[index];
            }
        }
        if (anchor)
            out << insertionAfter(m_bytes, anchor->begin, anchor->end, added);
        else if (!m_head.declarations.isEmpty())
            out << insertionAfter(m_bytes, m_head.declarations.constFirst().begin,
                                  m_head.declarations.constFirst().end, added);
        else
            out << insertionAtHeadEnd(m_bytes, m_head, added);
    }
    if (!orderEdits(m_bytes, &out)) {
        *error = QStringLiteral("the page's tags overlap where the changes would go");
        return false;
    }
    if (out.isEmpty()) {
        edits->clear();
        return true;
    }
    const QByteArray bytes = spliced(m_bytes, out);
    // New values inside their elements read as written; the page's set must stay.
    if (!reshaped) {
        PageEncoding after;
        if (!pageEncoding(bytes, m_head, &after, error) ||
            !readsAlike(after, m_encoding.charset, error))
            return false;
        *edits = out;
        return true;
    }
    // A page with tags added or removed must say what the row says: a tag put where the
    // parser is still inside an element that is never closed would be its text.
    {
        // Changes add no depth and no declaration: a page that no longer reads is one
        // whose every tag went, which holds none.
        SitePage changed;
        QString reason;
        if (!changed.read(bytes, &reason))
            changed = SitePage();
        else if (!readsAlike(changed.encoding(), m_encoding.charset, error))
            return false;
        bool same = true;
        for (qsizetype i = 0; same && i < columns.size(); ++i) {
            const ColumnDef &def = siteColumn(columns[i]);
            same = def.source == ColumnSource::PagePath ||
                   cellChange(changed.tag(def.column).value, row.cells[i],
                              def.source == ColumnSource::TitleText) == CellChange::None;
        }
        if (!same) {
            *error = QStringLiteral("the page would not read back as the table has it (it may "
                                    "end inside an element that is never closed); left alone");
            return false;
        }
    }
    *edits = out;
    return true;
}

} // namespace quill
