// The converter's scanning and copying, a block of bytes at a time. The caller's buffers
// have a block of room beyond their last byte, and the source's text is followed by a
// Ctrl-Z, so a block may always be read or written whole.
#pragma once

#include <QList>

namespace quill::blocks {

// The most any of the ways below reads or writes beyond a buffer's last byte.
inline constexpr qsizetype BlockSize = 128;
inline constexpr char CtrlZ = '\x1a';
// What each line of text becomes: the line between these two.
inline constexpr char LinePrefix[] = "document.write(\"";
inline constexpr char LineSuffix[] = "\");\r\n";
inline constexpr qsizetype PrefixSize = sizeof LinePrefix - 1;
inline constexpr qsizetype SuffixSize = sizeof LineSuffix - 1;

// The number of LF bytes in [begin, end).
qint64 countFeeds(const char *begin, const char *end);

// The first byte from `p` on that is above 32, an LF or a Ctrl-Z: blanks and CRs skipped.
const unsigned char *skipBlanks(const unsigned char *p);

// Converts the bytes from `p` up to the first CR, LF or Ctrl-Z into `o`: text and blanks
// as they are, a quote, apostrophe or backslash after a backslash. Leaves `p` at that
// byte and `o` just past the output, which needs at most twice the input's room.
void convertToLineEnd(const unsigned char *&p, char *&o);

// The same a byte at a time where a block needs more than a copy: what targets without a
// byte shuffle run, and what the shuffles must agree with.
void convertBytesToLineEnd(const unsigned char *&p, char *&o);

// Every way of convertToLineEnd this machine can run, the one it uses first and
// convertBytesToLineEnd last.
using LineConversion = void (*)(const unsigned char *&p, char *&o);
QList<LineConversion> lineConversions();

// Where a line's conversion stopped: its CR, LF or Ctrl-Z, and the end of the output.
struct LineSpan {
    const unsigned char *end;
    char *out;
};

// skipBlanks (when `skip`) and then convertToLineEnd, in one pass where the machine allows;
// nothing is written before `o`.
LineSpan convertLine(const unsigned char *p, char *o, bool skip);

// Where a run of short lines stopped: the start of the first line not taken, the end of
// the output (just past that line's prefix), and the number of lines taken.
struct LinesSpan {
    const unsigned char *end;
    char *out;
    qsizetype lines;
};

// Takes up to `most` whole lines from `p`, the prefix of the first already written before
// `o`: each converted with its leading and trailing blanks and its CRs left out, closed
// with the suffix and the next opened with the prefix. Only lines whose LF lies within a
// block of their start and that hold no Ctrl-Z are taken, where the machine allows it at
// all; the others are left to convertLine.
LinesSpan convertShortLines(const unsigned char *p, char *o, qsizetype most);

} // namespace quill::blocks
