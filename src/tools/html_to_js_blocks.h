// The converter's scanning and copying, a block of bytes at a time. The caller's buffers
// have a block of room beyond their last byte, and the source's text is followed by a
// Ctrl-Z, so a block may always be read or written whole.
#pragma once

#include <QList>

namespace quill::blocks {

// The most any of the ways below reads or writes beyond a buffer's last byte.
inline constexpr qsizetype BlockSize = 128;
inline constexpr char CtrlZ = '\x1a';

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

} // namespace quill::blocks
