// The site table's reader: any bytes are read or refused with a message placed in the
// source; what is read is written in either form and reads back the same (CSV has no
// null, which reads back as the empty text).

#include "fuzz_files.h"

#include "site/site_table.h"

namespace {

using namespace quill;

QList<SiteCell> cellsAfter(const SiteRow &row, TableFormat format)
{
    QList<SiteCell> cells = row.cells;
    if (format == TableFormat::Csv) {
        for (SiteCell &cell : cells)
            cell = cell.value_or(QString());
    }
    return cells;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = fuzz::bytes(data, size);
    SiteTable table;
    QString error;
    if (!readSiteTable(text, QStringLiteral("in.csv"), &table, &error)) {
        FUZZ_CHECK(error.startsWith(QStringLiteral("in.csv:")));
        return 0;
    }
    FUZZ_CHECK(table.indexOf(SiteColumn::Page) >= 0);
    for (const SiteRow &row : std::as_const(table.rows))
        FUZZ_CHECK(row.cells.size() == table.columns.size());
    for (const TableFormat format : {TableFormat::Csv, TableFormat::JsonLines}) {
        if (format == TableFormat::JsonLines && table.rows.isEmpty())
            continue; // no row, no keys: nothing to read back
        SiteTable again;
        FUZZ_CHECK(
            readSiteTable(writeSiteTable(table, format), QStringLiteral("-"), &again, &error));
        FUZZ_CHECK(again.columns == table.columns && again.rows.size() == table.rows.size());
        for (qsizetype i = 0; i < table.rows.size(); ++i)
            FUZZ_CHECK(again.rows[i].cells == cellsAfter(table.rows[i], format));
    }
    return 0;
}
