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

// Where a run of whole blocks from the start of `source` (text, Ctrl-Z, padding) must
// stop: before the first block that holds a Ctrl-Z or more LFs than may still end.
inline qsizetype blockRunEnd(const QByteArray &source, qsizetype most)
{
    using quill::blocks::RunBlockSize;
    qsizetype end = 0;
    for (;; end += RunBlockSize) {
        const QByteArray block = source.mid(end, RunBlockSize);
        if (block.contains(quill::blocks::CtrlZ) || block.count('\n') > most)
            return end;
        most -= block.count('\n');
    }
}

// What is wrong with the run of whole blocks `kernels` takes from `text`, from a line's
// start or, when `inText`, after a text byte of its line ("x"); empty when the run is
// right: every whole block it may take taken, the lines it ends as the plain conversion
// writes them, then the line going on without its blanks at the front, `keep` just past
// its last text byte.
inline QByteArray blockRunFault(const quill::blocks::Implementation &kernels,
                                const QByteArray &text, bool inText, qsizetype most)
{
    using namespace quill::blocks;
    const QByteArray before = inText ? "x" : "";
    const QByteArray source = text + CtrlZ + QByteArray(BlockSize, '\0');
    QByteArray out =
        LinePrefix + before + QByteArray((PrefixSize + SuffixSize) * source.size(), '\0');
    char *const start = out.data() + PrefixSize + before.size();
    const auto *const begin = reinterpret_cast<const unsigned char *>(source.constData());
    const BlocksSpan run = kernels.convertBlocks(begin, start, start, inText, most);

    const qsizetype taken = run.end - begin;
    if (taken != blockRunEnd(source, most))
        return "took " + QByteArray::number(taken) + " bytes, not " +
               QByteArray::number(blockRunEnd(source, most));
    const QByteArray lines = before + text.left(taken);
    const qsizetype going = lines.lastIndexOf('\n') + 1;
    if (run.lines != lines.count('\n'))
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

// The line conversion of `kernels` from byte `at` of `source` (text, Ctrl-Z, padding),
// blanks skipped first when `skip`, checked against the plain way; empty when right,
// nothing written before the output's start either.
inline QByteArray lineFault(const quill::blocks::Implementation &kernels, const QByteArray &source,
                            bool skip, qsizetype at = 0)
{
    using namespace quill::blocks;
    qsizetype from = at;
    while (skip && isBlank(source[from]) && source[from] != '\n' && source[from] != CtrlZ)
        ++from;
    qsizetype end = from;
    while (source[end] != '\r' && source[end] != '\n' && source[end] != CtrlZ)
        ++end;
    const QByteArray guard(BlockSize, '#');
    QByteArray out = guard + QByteArray(2 * (end - at) + BlockSize, '#');
    const auto *const begin = reinterpret_cast<const unsigned char *>(source.constData()) + at;
    const LineSpan span = kernels.convertLine(begin, out.data() + BlockSize, skip);
    if (span.end - begin != end - at)
        return "stopped at " + QByteArray::number(span.end - begin) + ", not " +
               QByteArray::number(end - at);
    const QByteArray written = out.left(span.out - out.constData());
    if (!written.startsWith(guard))
        return "wrote before the output";
    if (written.mid(BlockSize) != escaped(source.mid(from, end - from)))
        return "wrote " + written.mid(BlockSize).toPercentEncoding();
    if (skip && kernels.skipBlanks(begin) - begin != from - at)
        return "skipped to " + QByteArray::number(kernels.skipBlanks(begin) - begin);
    return {};
}
