#pragma once

#include "pages/page_charset.h"
#include "pages/page_edits.h"
#include "pages/page_head.h"
#include "site/site_columns.h"
#include "site/site_table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace quill {

// One column's tag as a page has it.
struct ColumnTag {
    // The text a browser reads (entities decoded, the title's blanks collapsed as a
    // browser shows them); none where the page lacks the tag.
    SiteCell value;
    int line = 0;       // where the tag stands, 1-based; 0 when the page lacks it
    QList<int> repeats; // the lines of later tags of the same column: the first one counts
};

// What a cell asks of a page, by the cell rules of SiteCell: nothing, that the tag go, or
// that it hold the cell's text.
enum class CellChange { None, Remove, Set };
// `title` compares as a browser shows a title: its blanks collapsed.
CellChange cellChange(const SiteCell &page, const SiteCell &cell, bool title);

// A page of a site read as one row of the table, with where each value stands, so that
// writing a row back changes only the bytes of the values that differ. The one reader of
// pages for the table, the checks and the site window.
class SitePage
{
public:
    // Reads the page. False with `error` for bytes that are no HTML page, and for a page
    // whose character set cannot be known (see pageEncoding).
    bool read(QByteArrayView bytes, QString *error);

    const ColumnTag &tag(SiteColumn column) const;
    // The page's row in `columns`, `path` in its page column.
    SiteRow row(const QString &path, const QList<SiteColumn> &columns) const;
    // "LINE: a second <meta name=\"description\"> (the first is on line N)" for each
    // repeated tag, in the page's order.
    QStringList repeatNotes() const;

    // The edits that make the page say what `row` says in `columns`, as the cell rules
    // of SiteCell have it; a column the table lacks stays as it is. A changed value has
    // only its bytes replaced, inside the page's own quotes (an unquoted one is quoted
    // only when the new one needs it); a new tag goes on a line of its own after the last
    // tag of the head the table knows (else after the character-set declaration, else
    // where the head ends) with that line's indentation and the page's line ending; an
    // emptied tag goes with its line where it stood alone, and with it any repeat of it.
    // `lang` is <html lang>: a page without an <html> tag gains one, at its start.
    // Values are written in the page's own set, a character it lacks as a numeric
    // character reference (every character beyond ASCII, in a page that declares no
    // set), escaped only where they must be. False with `error` for a changed read-only
    // cell, or when the changed page would not read back as the row says; the page must
    // then be left alone.
    bool plan(const QList<SiteColumn> &columns, const SiteRow &row, QList<PageEdit> *edits,
              QString *error) const;

    QByteArrayView bytes() const { return m_bytes; }
    const PageHead &head() const { return m_head; }
    const PageEncoding &encoding() const { return m_encoding; }

private:
    const HeadItem *firstItem(SiteColumn column) const;
    bool addLang(const QString &text, const ValueWriting &writing, QList<PageEdit> *edits,
                 QString *error) const;

    QByteArray m_bytes;
    PageHead m_head;
    PageEncoding m_encoding;
    std::array<ColumnTag, SiteColumnCount> m_tags;
    // For each column, its tags' places in the head's items, in the page's order.
    std::array<QList<qsizetype>, SiteColumnCount> m_items;
};

} // namespace quill
