#pragma once

#include "site/site_columns.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace quill {

// One cell: a text, or null (std::nullopt) where the page has no such tag. A tag with an
// empty value is the empty text, which JSON Lines tells apart from null. CSV has no null:
// an empty CSV cell reads as the empty text and null is written as an empty cell.
//
// What a cell asks of a page when the table is written back: a text where the page's
// value differs sets it; the empty text wants no value, so it removes a tag that has one
// and leaves a page without the tag or with an empty one alone (an emptied CSV cell
// therefore removes the tag, and an unchanged empty one changes nothing); null removes
// the tag whatever its value. A column the table does not hold leaves every page's tag
// alone.
using SiteCell = std::optional<QString>;

struct SiteRow {
    QList<SiteCell> cells; // one a column of the table, in the table's order
    int line = 0;          // where the row begins in the text it was read from; 0 for none
};

// The pages of a site as a table: the columns it holds, in its own order (a table read
// from a file holds those the file gives, `page` always among them), and a row a page.
struct SiteTable {
    QList<SiteColumn> columns;
    QList<SiteRow> rows;

    // The place of the column in `columns`; -1 when the table does not hold it.
    qsizetype indexOf(SiteColumn column) const { return columns.indexOf(column); }
};

enum class TableFormat {
    Csv,       // RFC 4180: UTF-8, a header row, CR LF after every record
    JsonLines, // an object a row with the same keys, LF after every line
};

// The format of a table's text: JSON Lines when the first byte after an optional UTF-8
// byte-order mark and blanks is '{' (no column's name begins with one), else CSV.
TableFormat tableFormatOf(QByteArrayView text);

// Reads a table in either format. Strict: CSV as RFC 4180 has it (a quote only in a
// quoted field, doubled), with LF too between records and an optional line break after
// the last; JSON Lines as RFC 8259 JSON, a cell a string or null. In both a blank line is
// passed over, and so is a UTF-8 byte-order mark at the start (spreadsheets write one).
// Every row has every column of the header (of the first object); an unknown or repeated
// column is an error naming it, and so is a table without `page`. Time grows in
// proportion to the text. On failure returns false, leaves `table` alone and sets `error`
// to one line "NAME:LINE: reason" or "NAME:LINE:COLUMN: reason" (columns count
// characters) with `sourceName` for NAME.
bool readSiteTable(QByteArrayView text, const QString &sourceName, SiteTable *table,
                   QString *error);

// The table as text. CSV quotes a field only where it must (a comma, a quote, a line
// break; or the one empty field of a one-column record, which would read as a blank
// line). JSON Lines writes the keys in the table's column order; having no header, it
// writes a table without rows as no text at all.
QByteArray writeSiteTable(const SiteTable &table, TableFormat format);

} // namespace quill
