#include "tools/html_to_js.h"

#include "tools/html_to_js_blocks.h"

#include "files/file_io.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace quill {
namespace {

using blocks::BlockSize;
using blocks::CtrlZ;
using blocks::LinePrefix;
using blocks::LineSuffix;
using blocks::PrefixSize;
using blocks::SuffixSize;
// The most output one source byte can give: an LF ends a line and starts the next.
constexpr qsizetype MostPerByte = PrefixSize + SuffixSize;
// The size of the source's read numbered `n`, and the largest.
constexpr qsizetype readSize(qint64 n)
{
    return n % 3 == 2 ? ConverterLongReadSize : ConverterReadSize;
}
constexpr qsizetype LargestRead = std::max(ConverterReadSize, ConverterLongReadSize);
// Room for the held blanks and the output of one read: the writes are then at least as
// large as the held blanks.
constexpr qsizetype WriteSize = ConverterHeldBlanks + MostPerByte * LargestRead;

// What a source byte asks of the line it stands in.
enum ByteKind : unsigned char {
    Plain, // copied
    Quote, // copied after a backslash
    Blank, // code 32 or less: dropped at either end of the line, kept inside it
    Cr,    // never part of the text
    Lf,    // ends the line
    End,   // Ctrl-Z ends the text
};

constexpr std::array<ByteKind, 256> byteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (std::size_t c = 0; c <= 32; ++c)
        kinds[c] = Blank;
    kinds['\\'] = kinds['"'] = kinds['\''] = Quote;
    kinds['\r'] = Cr;
    kinds['\n'] = Lf;
    kinds[std::size_t(CtrlZ)] = End;
    return kinds;
}();

// Collects the destination's bytes and hands them to the file in large writes. A
// failure is kept and checked by the caller once per read.
class Output
{
public:
    explicit Output(ReplacementFile &file)
        : m_file(file)
        , m_data(new char[WriteSize + BlockSize])
    {}

    char *begin() const { return m_data.get(); }
    char *cursor() const { return m_data.get() + m_used; }
    void setCursor(char *at) { m_used = at - m_data.get(); }
    qsizetype room() const { return WriteSize - m_used; }

    void put(const char *bytes, qsizetype size)
    {
        if (size > room())
            drain(nullptr);
        std::memcpy(cursor(), bytes, std::size_t(size));
        m_used += size;
    }

    // Writes out what is collected, except the bytes from `keep` on (when given),
    // which move to the front; returns where they now start.
    char *drain(const char *keep)
    {
        const qsizetype written = keep ? keep - begin() : m_used;
        write(begin(), written);
        std::memmove(begin(), begin() + written, std::size_t(m_used - written));
        m_used -= written;
        return begin();
    }

    // Writes past the collected bytes, which must have been drained.
    void write(const char *bytes, qsizetype size)
    {
        if (!m_failed && size > 0 && !m_file.write(bytes, size, &m_error))
            m_failed = true;
    }

    bool failed(QString *error) const
    {
        if (m_failed)
            *error = m_error;
        return m_failed;
    }

    bool finish(QString *error)
    {
        drain(nullptr);
        if (failed(error))
            return false;
        m_failed = !m_file.commit(error);
        return !m_failed;
    }

    bool failed() const { return m_failed; }

private:
    ReplacementFile &m_file;
    std::unique_ptr<char[]> m_data;
    qsizetype m_used = 0;
    bool m_failed = false;
    QString m_error;
};

// The two passes over the source: count the lines, for the progress, then write one
// statement for each.
// Memory stays at the fixed buffers whatever the length of the file or of a line.
//
// Blanks after a line's first character are written as they come, and taken back when
// the line ends before another character. A run too long to keep in the output buffer
// is dropped from it and read from the source again if the line goes on after it.
class Conversion
{
public:
    Conversion(int source, ReplacementFile &destination, const std::function<void(int)> &progress,
               const blocks::Implementation &kernels)
        : m_kernels(kernels)
        , m_source(source)
        , m_out(destination)
        , m_progress(progress)
        , m_read(new unsigned char[LargestRead + 1 + BlockSize]())
    {}

    qint64 lines() const { return m_done; }
    // Whether a failure was the destination's rather than the source's.
    bool writeFailed() const { return m_out.failed(); }

    bool countLines(QString *error)
    {
        qint64 feeds = 0;
        char last = '\0';
        char *const begin = reinterpret_cast<char *>(m_read.get());
        for (;;) {
            const qsizetype got = readSome(m_source, begin, LargestRead);
            if (got < 0) {
                *error = ioErrorMessage(errno);
                return false;
            }
            const blocks::FeedCount count = m_kernels.countFeeds(begin, begin + got);
            const char *const stop = count.stop;
            const char *end = stop ? stop : begin + got;
            feeds += count.feeds;
            if (end > begin)
                last = end[-1];
            if (got == 0 || stop)
                break;
        }
        // A last line without LF is still a line, and an empty text is one empty line.
        m_lines = last == '\n' ? feeds : feeds + 1;
        return true;
    }

    bool convert(QString *error)
    {
        // A source that cannot be read twice (a pipe) fails here.
        if (::lseek(m_source, 0, SEEK_SET) != 0) {
            *error = ioErrorMessage(errno);
            return false;
        }
        m_out.put(LinePrefix, PrefixSize);
        m_keep = m_out.cursor();
        qint64 offset = 0;
        for (qint64 reads = 0;; ++reads) {
            const qsizetype got =
                readSome(m_source, reinterpret_cast<char *>(m_read.get()), readSize(reads));
            if (got < 0) {
                *error = ioErrorMessage(errno);
                return false;
            }
            Step step = Step::More;
            if (got == 0) {
                step = endOfText(m_lastByte == '\n');
            } else {
                makeRoom(got);
                m_read[std::size_t(got)] = CtrlZ; // stops every scan at the end of the read
                step = take(got, offset);
            }
            if (step == Step::Failed) {
                *error = m_failure;
                return false;
            }
            if (m_out.failed(error))
                return false;
            if (step == Step::Done)
                return m_out.finish(error);
            m_lastByte = m_read[std::size_t(got) - 1];
            offset += got;
        }
    }

private:
    enum class Step { More, Done, Failed };

    // Leaves room for the output of `size` source bytes, keeping what may still be taken
    // back: the blanks after the line's text, or the prefix of a line with no text yet,
    // which goes when the text ends before it. A run too long to keep is dropped until
    // the line goes on.
    void makeRoom(qsizetype size)
    {
        if (m_out.room() >= MostPerByte * size)
            return;
        if (m_out.cursor() - m_keep > ConverterHeldBlanks) {
            m_out.setCursor(m_keep);
            m_checked = 0;
            m_spilled = true;
        }
        const qsizetype prefix = m_inText ? 0 : PrefixSize;
        m_keep = m_out.drain(m_keep - prefix) + prefix;
    }

    static bool isBlankOrCr(unsigned char c) { return byteKinds[c] == Blank || byteKinds[c] == Cr; }

    // Converts the read of `size` bytes at `offset`; a Ctrl-Z stands after its last byte.
    //
    // Blanks are written as they come once the line has text (inText is 1), and the
    // output goes back to `keep`, just past the line's last text byte, when it ends.
    Step take(qsizetype size, qint64 offset)
    {
        const unsigned char *const bytes = m_read.get();
        const unsigned char *const end = bytes + size;
        const unsigned char *p = bytes;
        if (m_spilled) {
            while (isBlankOrCr(*p))
                ++p;
            if (p == end)
                return Step::More;
            m_spilled = false;
            if (byteKinds[*p] <= Quote && !readRunAgain(offset + (p - bytes)))
                return Step::Failed;
        }

        const bool runBefore = m_out.cursor() > m_keep;
        char *o = m_out.cursor();
        char *keep = m_keep;
        qsizetype checked = m_checked;
        bool inText = m_inText;
        for (;;) {
            // Whole blocks are taken in one run, up to the last line due, which is left
            // for the ending below, and the block where the read or the text ends.
            const blocks::BlocksSpan run = m_kernels.convertBlocks(
                p, o, keep, inText, std::max<qint64>(m_lines - m_done - 1, 0));
            if (run.end != p) {
                linesDone(run.lines);
                p = run.end;
                o = run.out;
                keep = run.keep;
                checked = o - keep; // all blanks
                inText = run.inText;
            }
            // Blanks before a line's first text byte are dropped.
            const blocks::LineSpan span = m_kernels.convertLine(p, o, !inText);
            const bool converted = span.out > o;
            const unsigned char *const stop = span.end;
            p = stop;
            o = span.out;
            inText = inText || converted;

            // The blanks after the line's last text byte are taken back at its end. A run of
            // blocks starts from this mark, so it is set before a lone CR is passed too. The
            // last byte written is the last byte converted, read from the source rather than
            // from output the processor may still be storing.
            keep = converted && stop[-1] > 32 ? o : afterLastText(keep, checked, o);
            checked = o - keep;
            unsigned char c = *p++;
            // A CR is never part of the text; the LF of a CR LF is taken at once.
            if (c == '\r') {
                if (*p != '\n')
                    continue;
                c = *p++;
            }
            if (c == '\n') {
                o = std::copy_n(LineSuffix, SuffixSize, keep);
                if (lineDone()) {
                    m_out.setCursor(o);
                    return Step::Done;
                }
                o = std::copy_n(LinePrefix, PrefixSize, o);
                keep = o;
                checked = 0;
                inText = false;
                continue;
            }
            // A Ctrl-Z: the end of the read, or of the text.
            m_out.setCursor(o);
            m_keep = keep;
            m_checked = checked;
            m_inText = inText;
            if (p - 1 != end)
                return endOfText((p - 1 > bytes ? p[-2] : m_lastByte) == '\n');
            if (o > keep) {
                // Where the pending blanks start in the source, should they have to be
                // read again: after the read's last text byte, else where they were
                // found earlier, else at the read's start.
                const unsigned char *q = end;
                while (q > bytes && isBlankOrCr(q[-1]))
                    --q;
                if (q > bytes || !runBefore)
                    m_runOffset = offset + (q - bytes);
            }
            return Step::More;
        }
    }

    // Just past the last byte above 32 written after `keep`, else `keep`; the `checked`
    // bytes after `keep` are known to be blanks, so a long run is looked at once.
    static char *afterLastText(char *keep, qsizetype checked, char *o)
    {
        char *t = o;
        char *const known = keep + checked;
        while (t > known && static_cast<unsigned char>(t[-1]) <= 32)
            --t;
        return t > known ? t : keep;
    }

    // The text ends (at the file's end or a Ctrl-Z) while lines are still due; a last
    // line without LF is still a line, and an empty text is one empty line.
    Step endOfText(bool afterFeed)
    {
        if (!afterFeed) {
            m_out.setCursor(m_keep);
            m_spilled = false;
            m_out.put(LineSuffix, SuffixSize);
            lineDone();
        }
        if (m_lines == Uncounted) {
            // After a last LF no line follows: the prefix written after it goes.
            if (afterFeed)
                m_out.setCursor(m_keep - PrefixSize);
            return Step::Done;
        }
        if (m_done == m_lines)
            return Step::Done;
        // The source was cut short after it was counted.
        m_failure = readBeyondEndOfFileMessage();
        return Step::Failed;
    }

    // Counts a finished line and reports progress: k / n * 100 rounded half to even,
    // kept as quotient and remainder so that no line needs a division and no value
    // passes through floating point.
    bool lineDone()
    {
        ++m_done;
        m_remainder += 100;
        while (m_remainder >= m_lines) {
            m_remainder -= m_lines;
            ++m_quotient;
        }
        report(rounded(m_quotient, m_remainder));
        return m_done == m_lines;
    }

    // Counts a run of finished lines, none of them the last: with one division when
    // the percentage changes at most once over the run, else a line at a time, so that
    // every change is reported.
    void linesDone(qint64 count)
    {
        const qint64 quotient = 100 * (m_done + count) / m_lines;
        const qint64 remainder = 100 * (m_done + count) % m_lines;
        const int percent = rounded(quotient, remainder);
        if (percent - m_percent > 1) {
            for (qint64 n = 0; n < count; ++n)
                lineDone();
            return;
        }
        m_done += count;
        m_quotient = quotient;
        m_remainder = remainder;
        report(percent);
    }

    int rounded(qint64 quotient, qint64 remainder) const
    {
        const qint64 twice = 2 * remainder;
        const bool up = twice > m_lines || (twice == m_lines && (quotient & 1));
        return int(quotient + (up ? 1 : 0));
    }

    void report(int percent)
    {
        if (percent != m_percent) {
            m_percent = percent;
            if (m_progress)
                m_progress(percent);
        }
    }

    // The run of blanks dropped from the buffer lies inside its line after all: read
    // it again, up to `end`, leaving out its CRs.
    bool readRunAgain(qint64 end)
    {
        m_keep = m_out.drain(nullptr);
        m_checked = 0;
        char *const chunk = m_out.begin(); // free after the drain
        for (qint64 at = m_runOffset; at < end;) {
            const qsizetype got =
                readSomeAt(m_source, chunk, std::min<qint64>(m_out.room(), end - at), at);
            if (got <= 0) {
                m_failure = got < 0 ? ioErrorMessage(errno) : readBeyondEndOfFileMessage();
                return false;
            }
            at += got;
            char *kept = chunk;
            for (qsizetype i = 0; i < got; ++i) {
                const ByteKind kind = byteKinds[static_cast<unsigned char>(chunk[i])];
                if (kind == Blank) {
                    *kept++ = chunk[i];
                } else if (kind != Cr) {
                    m_failure = ioErrorMessage(EIO); // the source changed under the run
                    return false;
                }
            }
            m_out.write(chunk, kept - chunk);
        }
        return true;
    }

    const blocks::Implementation &m_kernels;
    const int m_source;
    Output m_out;
    const std::function<void(int)> &m_progress;
    std::unique_ptr<unsigned char[]> m_read;
    QString m_failure;

    // With no progress to report the lines are not counted first: the source is read
    // once, and the text ends where it ends.
    static constexpr qint64 Uncounted = std::numeric_limits<qint64>::max();
    qint64 m_lines = Uncounted;
    qint64 m_done = 0;
    unsigned char m_lastByte = 0; // the text's last byte before the current read
    bool m_inText = false;        // once the line has a byte above 32
    char *m_keep = nullptr;       // the output up to here stays when the line ends
    qsizetype m_checked = 0;      // bytes after m_keep known to be blanks
    bool m_spilled = false;       // blanks after m_keep were dropped from the output
    qint64 m_runOffset = 0;       // where the blanks after m_keep start in the source
    qint64 m_quotient = 0;
    qint64 m_remainder = 0;
    int m_percent = -1;
};

// Opens, counts the lines when progress is reported, converts and puts the destination
// in place; the source is closed on the way out.
bool convertFile(const QString &source, const QString &destination,
                 const std::function<void(int)> &progress, const blocks::Implementation &kernels,
                 qint64 *lines, QString *error, QString *file)
{
    // A pipe cannot be read twice and a device may never end: only a regular file.
    *file = source;
    const FileDescriptor input(openForReading(source, FileKind::RegularOnly));
    if (input.get() < 0) {
        *error = ioErrorMessage(errno);
        return false;
    }
    *file = destination;
    ReplacementFile output(destination);
    if (!output.open(error))
        return false;
    Conversion conversion(input.get(), output, progress, kernels);
    if ((progress && !conversion.countLines(error)) || !conversion.convert(error)) {
        if (!conversion.writeFailed())
            *file = source;
        return false;
    }
    *lines = conversion.lines();
    return true;
}

QByteArray withCrLf(std::initializer_list<QByteArray> lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// Paths go in as the file system's own bytes, so that the page names the file on disk.
QByteArray pageBytes(const QString &destination)
{
    return withCrLf({
        "<html>",
        "<head><title></title>",
        "</head>",
        "<body>",
        "<!--Change path to relative path according to your directory structure on your "
        "server-->",
        "<script src=\"" + nativeName(destination) + "\" type=\"text/javascript\"></script>",
        "</body>",
        "</html>",
    });
}

QByteArray logBytes(const QString &source, const QString &destination, bool htmlPage, qint64 lines,
                    const QDateTime &now)
{
    const QLocale locale = QLocale::system();
    return withCrLf({
        "Log created by Quillmark v2.0",
        QByteArray(35, '-'),
        "Date: " + locale.toString(now, locale.dateFormat(QLocale::ShortFormat)).toUtf8(),
        "Time: " + locale.toString(now, locale.timeFormat(QLocale::LongFormat)).toUtf8(),
        "Source file: " + nativeName(source),
        "Destination: " + nativeName(destination),
        QByteArray("HTML File made? ") + (htmlPage ? "Yes" : "No"),
        "Lines converted: " + QByteArray::number(lines),
    });
}

} // namespace

bool converterNamesValid(const QString &source, const QString &destination)
{
    return source.size() >= 3 && destination.size() >= 3;
}

QString converterNamesMessage()
{
    return QStringLiteral("Please enter a valid source and destination filename!");
}

ConversionResult convertHtmlToJs(const QString &source, const QString &destination, bool htmlPage,
                                 bool logFile, const QDateTime &now,
                                 const std::function<void(int)> &progress)
{
    return convertHtmlToJs(source, destination, htmlPage, logFile, now, progress,
                           *blocks::chosenImplementation().implementation);
}

ConversionResult convertHtmlToJs(const QString &source, const QString &destination, bool htmlPage,
                                 bool logFile, const QDateTime &now,
                                 const std::function<void(int)> &progress,
                                 const blocks::Implementation &kernels)
{
    const auto failure = [](const QString &message, const QString &file) {
        return ConversionResult{0, message, file};
    };
    if (!converterNamesValid(source, destination))
        return failure(converterNamesMessage(), QString());

    // The side files take the destination's name less its last three characters.
    const QString stem = destination.left(destination.size() - 3);
    const QString page = stem + QStringLiteral(".html");
    const QString log = stem + QStringLiteral(".log");
    QStringList outputs{destination};
    if (htmlPage)
        outputs << page;
    if (logFile)
        outputs << log;
    QString error;
    QString file;
    if (!distinctFiles({source}, outputs, &error, &file))
        return failure(error, file);

    qint64 lines = 0;
    if (!convertFile(source, destination, progress, kernels, &lines, &error, &file))
        return failure(error, file);
    if (htmlPage && !replaceFile(page, pageBytes(destination), &error))
        return failure(error, page);
    if (logFile && !replaceFile(log, logBytes(source, destination, htmlPage, lines, now), &error))
        return failure(error, log);
    return {lines, QString(), QString()};
}

} // namespace quill
