// The converter's scanning and copying, a block of bytes at a time, in one implementation
// per instruction set. The caller's buffers have a block of room beyond their last byte,
// and the source's text is followed by a Ctrl-Z, so a block may always be read or written
// whole.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quill::blocks {

// The most any of the ways below reads or writes beyond a buffer's last byte.
inline constexpr qsizetype BlockSize = 128;
// The bytes a run of whole blocks takes at a time.
inline constexpr qsizetype RunBlockSize = 64;
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

// Where a line's conversion stopped: its CR, LF or Ctrl-Z, and the end of the output.
struct LineSpan {
    const unsigned char *end;
    char *out;
};

// Where a run of whole blocks stopped, and the state of the line it stopped in.
struct BlocksSpan {
    const unsigned char *end; // the first byte not taken, the start of a block
    char *out;                // the end of the output
    char *keep;               // the output up to here stays when the line ends
    qsizetype lines;          // the lines ended
    bool inText;              // whether the line has a byte above 32
};

// The kernels of one instruction set; every implementation gives the same results.
struct Implementation {
    const char *name;
    // Whether this processor can run it.
    bool (*supported)();

    FeedCount (*countFeeds)(const char *begin, const char *end);

    // The first byte from `p` on that is above 32, an LF or a Ctrl-Z: blanks and CRs skipped.
    const unsigned char *(*skipBlanks)(const unsigned char *p);

    // Blanks skipped (when `skip`), then the bytes up to the first CR, LF or Ctrl-Z
    // converted into `o`: text and blanks as they are, a quote, apostrophe or backslash
    // after a backslash. The output needs at most twice the input's room; nothing is
    // written before `o`.
    LineSpan (*convertLine)(const unsigned char *p, char *o, bool skip);

    // Takes whole blocks of RunBlockSize bytes from `p`, in the middle of a line or at its
    // start, up to the first block that holds a Ctrl-Z or more LFs than `most` less the
    // lines already ended; the other kernels take the rest. The line's state comes in as
    // `keep` and `inText`, as the result gives it back: blanks after the line's last text
    // byte are written as they come, and the output goes back to `keep` when the line ends
    // without more text. Each line ended is closed with the suffix and the next opened
    // with the prefix.
    BlocksSpan (*convertBlocks)(const unsigned char *p, char *o, char *keep, bool inText,
                                qsizetype most);
};

// The environment variable that names the implementation to use instead of the best.
inline constexpr char ImplementationVariable[] = "QUILLMARK_CONVERTER";

// Every implementation built in, the best first; the last runs on every processor.
const QList<const Implementation *> &implementations();

// Those of implementations() that this processor can run, in the same order.
QList<const Implementation *> supportedImplementations();

// The implementation a run uses when `requested` names one (empty: none): the one named
// when this processor can run it, else the best of `candidates` it can run, and then the
// reason in `warning`.
struct Choice {
    const Implementation *implementation;
    QString warning;
};
Choice chooseImplementation(const QByteArray &requested,
                            const QList<const Implementation *> &candidates = implementations());

// chooseImplementation() of the environment variable, made once, at the first call.
const Choice &chosenImplementation();

} // namespace quill::blocks
