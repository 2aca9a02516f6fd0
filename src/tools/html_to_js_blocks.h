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

// The LF bytes in [begin, end) before its first Ctrl-Z, and that Ctrl-Z (null if none).
struct FeedCount {
    qint64 feeds;
    const char *stop;
};
FeedCount countFeeds(const char *begin, const char *end);

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

// Where a run of whole blocks stopped, and the state of the line it stopped in.
struct BlocksSpan {
    const unsigned char *end; // the first byte not taken, the start of a block
    char *out;                // the end of the output
    char *keep;               // the output up to here stays when the line ends
    qsizetype lines;          // the lines ended
    bool inText;              // whether the line has a byte above 32
};

// Takes whole blocks from `p`, in the middle of a line or at its start, up to the first
// block that holds a Ctrl-Z or more LFs than `most` less the lines already ended; the
// other ways take the rest. The line's state comes in as `keep` and `inText`, as the
// result gives it back: blanks after the line's last text byte are written as they come,
// and the output goes back to `keep` when the line ends without more text. Each line
// ended is closed with the suffix and the next opened with the prefix. Where the machine
// has no way to do this, nothing is taken.
BlocksSpan convertBlocks(const unsigned char *p, char *o, char *keep, bool inText, qsizetype most);

} // namespace quill::blocks
