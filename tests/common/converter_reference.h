// What the converter writes for a source, computed the plain way: the whole text in
// memory, split, replaced, trimmed. Shared by the converter's tests and its fuzz harness.
#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include "tools/html_to_js_blocks.h"

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

inline QByteArray escaped(QByteArray text)
{
    return text.replace("\\", "\\\\").replace("\"", "\\\"").replace("'", "\\'");
}

inline bool isBlank(char c)
{
    return uchar(c) <= 32;
}

// The line's text less its CRs and its blanks at the front, and at the back when `back`.
inline QByteArray trimmedLine(QByteArray line, bool back = true)
{
    line.replace("\r", "");
    qsizetype from = 0;
    qsizetype to = line.size();
    while (from < to && isBlank(line[from]))
        ++from;
    while (back && to > from && isBlank(line[to - 1]))
        --to;
    return line.mid(from, to - from);
}

// The destination for `source`.
inline QByteArray reference(const QByteArray &source)
{
    const qsizetype stop = source.indexOf('\x1a');
    QByteArrayList lines = (stop < 0 ? source : source.left(stop)).split('\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    QByteArray out;
    for (const QByteArray &line : lines)
        out += statement(escaped(trimmedLine(line)));
    return out;
}

// What is wrong with the run of whole blocks the converter takes from `text`, from a
// line's start or, when `inText`, after a text byte of its line ("x"); empty when the run
// is right: the lines it ends as the plain conversion writes them, then the line going
// on without its blanks at the front, `keep` just past its last text byte.
inline QByteArray blockRunFault(const QByteArray &text, bool inText, qsizetype most)
{
    using namespace quill::blocks;
    const QByteArray before = inText ? "x" : "";
    const QByteArray source = text + CtrlZ + QByteArray(BlockSize, '\0');
    QByteArray out =
        LinePrefix + before + QByteArray((PrefixSize + SuffixSize) * source.size(), '\0');
    char *const start = out.data() + PrefixSize + before.size();
    const auto *const begin = reinterpret_cast<const unsigned char *>(source.constData());
    const BlocksSpan run = convertBlocks(begin, start, start, inText, most);

    const qsizetype taken = run.end - begin;
    if (taken % 64 != 0 || taken > text.size() || text.left(taken).contains(CtrlZ))
        return "took " + QByteArray::number(taken) + " bytes";
    const QByteArray lines = before + text.left(taken);
    const qsizetype going = lines.lastIndexOf('\n') + 1;
    if (run.lines != lines.count('\n') || run.lines > most)
        return "ended " + QByteArray::number(run.lines) + " lines";
    const QByteArray goingOn = escaped(trimmedLine(lines.mid(going), false));
    const QByteArray shown = escaped(trimmedLine(lines.mid(going)));
    const QByteArray expected =
        (going > 0 ? reference(lines.left(going)) : QByteArray()) + LinePrefix + goingOn;
    const QByteArray written = out.left(run.out - out.constData());
    if (written != expected)
        return "wrote " + written.toPercentEncoding() + " for " + expected.toPercentEncoding();
    if (run.keep - out.constData() != expected.size() - goingOn.size() + shown.size())
        return "kept up to " + QByteArray::number(run.keep - out.constData());
    if (run.inText != !shown.isEmpty())
        return "has text: " + QByteArray::number(run.inText);
    return {};
}
