// JSON Lines: RapidJSON reads each line as one strict JSON text, handing over its members
// one by one; this program's rules say which members a row takes.

#include "site/json_lines_table.h"

#include "site/json_type.h"
#include "site/site_text.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <QStringList>

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <optional>

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

// The members of one row as the reader meets them. A cell is a string or null, so the
// reading stops at the first value that is neither, before it nests any deeper: a line
// nested a million deep costs no more than its first bytes.
class RowHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, RowHandler>
{
public:
    QList<QByteArray> keys;
    QList<std::optional<QByteArray>> values;
    bool object = false; // the line's value is an object
    QString wrongType;   // the type of the first member that is neither string nor null

    bool StartObject()
    {
        if (!object && depth++ == 0)
            return object = true;
        return wrong(rapidjson::kObjectType);
    }
    bool EndObject(rapidjson::SizeType)
    {
        --depth;
        return true;
    }
    bool StartArray() { return wrong(rapidjson::kArrayType); }
    bool Key(const char *text, rapidjson::SizeType length, bool)
    {
        keys << QByteArray(text, qsizetype(length));
        return true;
    }
    bool String(const char *text, rapidjson::SizeType length, bool)
    {
        if (!object)
            return false;
        values << QByteArray(text, qsizetype(length));
        return true;
    }
    bool Null()
    {
        if (!object)
            return false;
        values << std::nullopt;
        return true;
    }
    bool Bool(bool value) { return wrong(value ? rapidjson::kTrueType : rapidjson::kFalseType); }
    // Every number comes here; the handler's other number calls lead to it.
    bool Default() { return wrong(rapidjson::kNumberType); }

private:
    bool wrong(rapidjson::Type type)
    {
        if (object)
            wrongType = jsonTypeName(rapidjson::Value(type));
        return false;
    }
    int depth = 0;
};

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

        constexpr unsigned flags =
            rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;
        RowHandler handler;
        rapidjson::MemoryStream bytes(line.data(), std::size_t(line.size()));
        rapidjson::Reader reader;
        const rapidjson::ParseResult parsed = reader.Parse<flags>(bytes, handler);
        if (!handler.wrongType.isEmpty()) {
            const QByteArray key = handler.keys.value(handler.values.size());
            return fail(QStringLiteral("%1 takes a string or null, not %2")
                            .arg(QString::fromUtf8(key), handler.wrongType));
        }
        if (!handler.object)
            return fail(QStringLiteral("a row is one JSON object"));
        if (parsed.IsError())
            return fail(grammarReason(parsed, line), qsizetype(parsed.Offset()));

        QList<SiteColumn> columns;
        QString reason;
        if (!site_text::headerColumns(handler.keys, &columns, &reason))
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
        for (qsizetype m = 0; m < columns.size(); ++m) {
            const std::optional<QByteArray> &value = handler.values[m];
            if (!value)
                continue;
            QString text;
            if (!site_text::decodeText(*value, &text))
                return fail(QStringLiteral("%1 holds half a surrogate pair, which is no "
                                           "character")
                                .arg(QLatin1StringView(siteColumn(columns[m]).key)));
            row.cells[m_table.indexOf(columns[m])] = text;
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
