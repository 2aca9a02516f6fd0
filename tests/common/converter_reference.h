// What the converter writes for a source, computed the plain way: the whole text in
// memory, split, replaced, trimmed. Shared by the converter's tests and its fuzz harness.
#pragma once

#include <QByteArray>
#include <QByteArrayList>

inline QByteArray statement(const QByteArray &text)
{
    return "document.write(\"" + text + "\");\r\n";
}

inline QByteArray statements(const QByteArrayList &texts)
{
    QByteArray bytes;
    for (const QByteArray &text : texts)
        bytes += statement(text);
    return bytes;
}

// The destination for `source`.
inline QByteArray reference(const QByteArray &source)
{
    const qsizetype stop = source.indexOf('\x1a');
    QByteArrayList lines = (stop < 0 ? source : source.left(stop)).split('\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    QByteArray out;
    for (QByteArray line : lines) {
        line.replace("\r", "").replace("\\", "\\\\").replace("\"", "\\\"").replace("'", "\\'");
        qsizetype from = 0;
        qsizetype to = line.size();
        while (from < to && uchar(line[from]) <= 32)
            ++from;
        while (to > from && uchar(line[to - 1]) <= 32)
            --to;
        out += statement(line.mid(from, to - from));
    }
    return out;
}
