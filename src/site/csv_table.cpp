// CSV as RFC 4180 has it, read in one pass over the bytes: every byte is looked at once,
// a character's place is counted only for a message.

#include "site/csv_table.h"

#include "document/utf8_text.h"
#include "site/site_text.h"

namespace quill {
namespace {

using site_text::place;

// A fault of the text at a byte offset.
struct Fault {
    qsizetype offset = -1;
    QString reason;
};

class CsvReader
{
public:
    explicit CsvReader(QByteArrayView text)
        : m_text(text)
    {}

    // Reads the next record into `fields`, with the line it begins on. False at the end of
    // the text, or on a fault (then `fault()` says which). Blank lines are passed over.
    bool next(QList<QByteArray> *fields, int *line)
    {
        while (m_at < m_text.size() && lineBreakAt(m_at))
            takeLineBreak();
        if (m_at >= m_text.size() || m_fault.offset >= 0)
            return false;
        *line = m_line;
        fields->clear();
        for (;;) {
            QByteArray field;
            const bool isQuoted = m_at < m_text.size() && m_text[m_at] == '"';
            if (!(isQuoted ? quoted(&field) : plain(&field)))
                return false;
            fields->append(field);
            if (m_at >= m_text.size())
                return true;
            if (m_text[m_at] != ',') {
                takeLineBreak();
                return true;
            }
            ++m_at; // a comma last in the text is followed by one more, empty, field
        }
    }

    const Fault &fault() const { return m_fault; }

private:
    // True at a line break, which ends a record: LF, or CR LF.
    bool lineBreakAt(qsizetype at) const
    {
        return m_text[at] == '\n' ||
               (m_text[at] == '\r' && at + 1 < m_text.size() && m_text[at + 1] == '\n');
    }

    void takeLineBreak()
    {
        m_at += m_text[m_at] == '\r' ? 2 : 1;
        ++m_line;
    }

    bool fail(qsizetype offset, const QString &reason)
    {
        m_fault = {offset, reason};
        return false;
    }

    // Steps over one well-formed UTF-8 character at m_at.
    bool character()
    {
        const qsizetype length = utf8CharacterLength(m_text, m_at);
        if (length == 0)
            return fail(m_at, QStringLiteral("not UTF-8"));
        m_at += length;
        return true;
    }

    bool plain(QByteArray *field)
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == ',' || lineBreakAt(m_at))
                break;
            if (c == '"')
                return fail(m_at, QStringLiteral("a quote in a field that does not begin with "
                                                 "one; quote the field and double the quote"));
            if (c == '\r')
                return fail(m_at, QStringLiteral("a CR without LF outside a quoted field"));
            if (!character())
                return false;
        }
        *field = m_text.sliced(start, m_at - start).toByteArray();
        return true;
    }

    bool quoted(QByteArray *field)
    {
        const qsizetype opening = m_at++;
        qsizetype piece = m_at;
        for (;;) {
            if (m_at >= m_text.size())
                return fail(opening, QStringLiteral("the quoted field has no closing quote"));
            const char c = m_text[m_at];
            if (c == '"') {
                field->append(m_text.sliced(piece, m_at - piece));
                ++m_at;
                if (m_at < m_text.size() && m_text[m_at] == '"') {
                    piece = m_at++; // a doubled quote: the second one is the field's
                    continue;
                }
                break;
            }
            if (c == '\n')
                ++m_line;
            if (!character())
                return false;
        }
        if (m_at < m_text.size() && m_text[m_at] != ',' && !lineBreakAt(m_at))
            return fail(m_at, QStringLiteral("a comma or the end of the line expected after "
                                             "the closing quote"));
        return true;
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    Fault m_fault;
};

void appendField(QByteArray &out, QByteArrayView field, bool alone)
{
    const bool needsQuotes = field.contains(',') || field.contains('"') || field.contains('\n') ||
                             field.contains('\r') || (alone && field.isEmpty());
    if (!needsQuotes) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void appendRecord(QByteArray &out, const QList<QByteArray> &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        appendField(out, fields[i], fields.size() == 1);
    }
    out += "\r\n";
}

} // namespace

bool readCsvTable(QByteArrayView text, const QString &sourceName, SiteTable *table, QString *error)
{
    CsvReader reader(text);
    const auto failed = [&] {
        *error =
            site_text::placeAt(sourceName, text, reader.fault().offset) + reader.fault().reason;
        return false;
    };

    QList<QByteArray> fields;
    int line = 1;
    if (!reader.next(&fields, &line)) {
        if (reader.fault().offset >= 0)
            return failed();
        *error = place(sourceName, line) + QStringLiteral("empty: no header row");
        return false;
    }
    SiteTable read;
    QString reason;
    if (!site_text::headerColumns(fields, &read.columns, &reason)) {
        *error = place(sourceName, line) + reason;
        return false;
    }
    while (reader.next(&fields, &line)) {
        if (fields.size() != read.columns.size()) {
            *error = place(sourceName, line) + QStringLiteral("%1 fields where the header has %2")
                                                   .arg(fields.size())
                                                   .arg(read.columns.size());
            return false;
        }
        SiteRow row;
        row.line = line;
        row.cells.reserve(fields.size());
        for (const QByteArray &field : std::as_const(fields)) {
            QString cell;
            site_text::decodeText(field, &cell); // well-formed: the reader checked it
            row.cells.append(cell);
        }
        read.rows.append(row);
    }
    if (reader.fault().offset >= 0)
        return failed();
    *table = read;
    return true;
}

QByteArray writeCsvTable(const SiteTable &table)
{
    QByteArray out;
    QList<QByteArray> fields;
    for (const SiteColumn column : table.columns)
        fields << QByteArray(siteColumn(column).key);
    appendRecord(out, fields);
    for (const SiteRow &row : table.rows) {
        fields.clear();
        for (const SiteCell &cell : row.cells)
            fields << (cell ? cell->toUtf8() : QByteArray());
        appendRecord(out, fields);
    }
    return out;
}

} // namespace quill
