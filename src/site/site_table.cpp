#include "site/site_table.h"

#include "site/csv_table.h"
#include "site/json_lines_table.h"

#include <algorithm>

namespace quill {
namespace {

constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");

// The text less a byte-order mark, which is no part of it: columns count from after it.
QByteArrayView withoutMark(QByteArrayView text)
{
    return text.startsWith(byteOrderMark) ? text.sliced(byteOrderMark.size()) : text;
}

} // namespace

TableFormat tableFormatOf(QByteArrayView text)
{
    text = withoutMark(text);
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    return first != text.end() && *first == '{' ? TableFormat::JsonLines : TableFormat::Csv;
}

bool readSiteTable(QByteArrayView text, const QString &sourceName, SiteTable *table, QString *error)
{
    if (tableFormatOf(text) == TableFormat::JsonLines)
        return readJsonLinesTable(withoutMark(text), sourceName, table, error);
    return readCsvTable(withoutMark(text), sourceName, table, error);
}

QByteArray writeSiteTable(const SiteTable &table, TableFormat format)
{
    return format == TableFormat::JsonLines ? writeJsonLinesTable(table) : writeCsvTable(table);
}

} // namespace quill
