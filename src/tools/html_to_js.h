#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace quill {

namespace blocks {
struct Implementation;
}

// The outcome of one conversion run.
struct ConversionResult {
    qint64 lines = 0; // n, the source's line count, when the run succeeded
    QString error;    // the failure's message; empty when the run succeeded
    QString file;     // the file it is about, as given; empty when about the names
    bool succeeded() const { return error.isEmpty(); }
};

// Both path texts must have at least this many characters before anything is done.
bool converterNamesValid(const QString &source, const QString &destination);

// The message for path texts that converterNamesValid refuses.
QString converterNamesMessage();

// Converts the source text file into a script of one document.write statement per
// line, and on request writes a page that includes the script (htmlPage) and a log
// of the run (logFile), both named after the destination. The paths are used exactly
// as given. `now` is the clock reading the log shows; `progress` receives the
// percentage done after the first line and after every line that changes it.
ConversionResult convertHtmlToJs(const QString &source, const QString &destination, bool htmlPage,
                                 bool logFile, const QDateTime &now,
                                 const std::function<void(int)> &progress);

// The same with the kernels given rather than those chosen when the program started.
ConversionResult convertHtmlToJs(const QString &source, const QString &destination, bool htmlPage,
                                 bool logFile, const QDateTime &now,
                                 const std::function<void(int)> &progress,
                                 const blocks::Implementation &kernels);

#ifndef QUILLMARK_SMALL_BUFFERS
// The size of one read from the source; a line, a CR LF or a run of blanks may
// straddle two reads.
inline constexpr qsizetype ConverterReadSize = 128 * 1024;

// Every third read is this long instead, where the two differ.
inline constexpr qsizetype ConverterLongReadSize = ConverterReadSize;

// A run of blanks inside a line is kept in memory while it is no longer than this; a
// run twice as long is always dropped and read from the source again once a later
// character shows that it lies inside its line.
inline constexpr qsizetype ConverterHeldBlanks = 512 * 1024;
#else
// A few bytes each, so that short inputs reach every edge (fuzzing); every third read is
// long enough for runs of whole blocks, which then meet those edges too.
inline constexpr qsizetype ConverterReadSize = 7;
inline constexpr qsizetype ConverterLongReadSize = 200;
inline constexpr qsizetype ConverterHeldBlanks = 13;
#endif

} // namespace quill
