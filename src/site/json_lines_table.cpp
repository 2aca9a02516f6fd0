// JSON Lines: RapidJSON reads each line as one strict JSON text; this program's rules
// say which members a row takes.

#include "site/json_lines_table.h"

#include "site/json_type.h"
#include "site/site_text.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <QStringList>

#include <algorithm>
#include <bitset>
#include <cstddef>

namespace quill {
namespace {

using site_text::place;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The reason for a fault of the JSON grammar at `offset` of `line`.
QString grammarReason(const rapidjson::ParseResult &parsed, QByteArrayView line)
{
    const auto offset = qsizetype(parsed.Offset());
    // The reader calls a raw control character in a string a bad escape, or for NUL a
    // missing quote.
    if (offset < line.size() && static_cast<unsigned char>(line[offset]) < 0x20 &&
        (parsed.Code() == rapidjson::kParseErrorStringEscapeInvalid ||
         parsed.Code() == rapidjson::kParseErrorStringMissQuotationMark))
        return QStringLiteral("control character U+%1 inside a string; write it as an escape")
            .arg(unsigned(static_cast<unsigned char>(line[offset])), 4, 16, QLatin1Char('0'));
    if (parsed.Code() == rapidjson::kParseErrorStringInvalidEncoding)
        return QStringLiteral("not UTF-8");
    return QString::fromUtf8(rapidjson::GetParseError_En(parsed.Code()));
}

class JsonLinesReader
{
public:
    JsonLinesReader(QByteArrayView text, const QString &sourceName)
        : m_text(text)
        , m_name(sourceName)
    {}

    bool read(SiteTable *table, QString *error)
    {
        int lineNumber = 0;
        for (qsizetype start = 0; start < m_text.size();) {
            ++lineNumber;
            qsizetype end = m_text.indexOf('\n', start);
            if (end < 0)
                end = m_text.size();
            const QByteArrayView line = m_text.sliced(start, end - start);
            if (!std::all_of(line.begin(), line.end(), isBlank) &&
                !row(line, start, lineNumber, error))
                return false;
            start = end + 1;
        }
        if (!m_started) {
            *error = place(m_name, 1) + QStringLiteral("empty: no row");
            return false;
        }
        *table = m_table;
        return true;
    }

private:
    bool row(QByteArrayView line, qsizetype lineStart, int lineNumber, QString *error)
    {
        const auto fail = [&](const QString &reason, qsizetype offset = -1) {
            *error = (offset < 0 ? place(m_name, lineNumber)
                                 : site_text::placeAt(m_name, m_text, lineStart + offset)) +
                     reason;
            return false;
        };

        // Iterative, so that deep nesting costs heap, not stack.
        constexpr unsigned flags =
            rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;
        m_allocator.Clear();
        rapidjson::Document doc(&m_allocator);
        doc.Parse<flags>(line.data(), std::size_t(line.size()));
        if (doc.HasParseError())
            return fail(grammarReason(doc, line), qsizetype(doc.GetErrorOffset()));
        if (!doc.IsObject())
            return fail(QStringLiteral("a row is one JSON object"));

        // By index: RapidJSON's member iterators compare ambiguously in C++20.
        const auto members = doc.MemberBegin();
        const rapidjson::SizeType count = doc.MemberCount();
        QList<QByteArray> keys;
        for (rapidjson::SizeType m = 0; m < count; ++m)
            keys << QByteArray(members[m].name.GetString(), members[m].name.GetStringLength());
        QList<SiteColumn> columns;
        QString reason;
        if (!site_text::headerColumns(keys, &columns, &reason))
            return fail(reason);
        if (!m_started) {
            m_table.columns = columns;
            m_started = true;
        } else if (!sameColumns(columns, &reason)) {
            return fail(reason);
        }

        SiteRow row;
        row.line = lineNumber;
        row.cells.resize(m_table.columns.size());
        for (rapidjson::SizeType m = 0; m < count; ++m) {
            const char *key = siteColumn(columns[m]).key;
            SiteCell &cell = row.cells[m_table.indexOf(columns[m])];
            const rapidjson::Value &value = members[m].value;
            if (value.IsNull())
                continue;
            if (!value.IsString())
                return fail(QStringLiteral("%1 takes a string or null, not %2")
                                .arg(QLatin1StringView(key), jsonTypeName(value)));
            QString text;
            if (!site_text::decodeText(QByteArrayView(value.GetString(), value.GetStringLength()),
                                       &text))
                return fail(QStringLiteral("%1 holds half a surrogate pair, which is no "
                                           "character")
                                .arg(QLatin1StringView(key)));
            cell = text;
        }
        m_table.rows.append(row);
        return true;
    }

    // Every row holds the first row's columns, in any order.
    bool sameColumns(const QList<SiteColumn> &columns, QString *reason) const
    {
        std::bitset<SiteColumnCount> here;
        for (const SiteColumn column : columns) {
            here[static_cast<std::size_t>(column)] = true;
            if (m_table.indexOf(column) < 0) {
                *reason = QStringLiteral("%1 is no column of the first row")
                              .arg(QLatin1StringView(siteColumn(column).key));
                return false;
            }
        }
        QStringList missing;
        for (const SiteColumn column : m_table.columns) {
            if (!here[static_cast<std::size_t>(column)])
                missing << QLatin1StringView(siteColumn(column).key);
        }
        if (missing.isEmpty())
            return true;
        *reason = QStringLiteral("lacks %1, which the first row has")
                      .arg(missing.join(QStringLiteral(", ")));
        return false;
    }

    QByteArrayView m_text;
    const QString &m_name;
    SiteTable m_table;
    bool m_started = false;
    // One pool for every line, kept between them, so that a row costs no allocation of it.
    alignas(std::max_align_t) char m_buffer[16 * 1024];
    rapidjson::MemoryPoolAllocator<> m_allocator{m_buffer, sizeof m_buffer};
};

} // namespace

bool readJsonLinesTable(QByteArrayView text, const QString &sourceName, SiteTable *table,
                        QString *error)
{
    return JsonLinesReader(text, sourceName).read(table, error);
}

QByteArray writeJsonLinesTable(const SiteTable &table)
{
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer;
    for (const SiteRow &row : table.rows) {
        writer.Reset(buffer);
        writer.StartObject();
        for (qsizetype i = 0; i < table.columns.size(); ++i) {
            writer.Key(siteColumn(table.columns[i]).key);
            if (const SiteCell &cell = row.cells[i]; cell) {
                const QByteArray utf8 = cell->toUtf8();
                writer.String(utf8.constData(), rapidjson::SizeType(utf8.size()));
            } else {
                writer.Null();
            }
        }
        writer.EndObject();
        buffer.Put('\n');
    }
    return QByteArray(buffer.GetString(), qsizetype(buffer.GetSize()));
}

} // namespace quill
