// One command of quillmark-cli: its name, help texts, options and arguments, and the
// work it does. main.cpp holds the table of commands and parses the command line.
#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace quill::cli {

enum ExitCode { Done = 0, Failed = 1, BadUsage = 2 };

struct Command {
    QString name;
    QString summary;     // one line in the companion's own help
    QString description; // the paragraph of the command's help
    QList<QCommandLineOption> options;
    QStringList arguments; // every one required, in this order
    // Called once the command line has been checked: the positional arguments are
    // exactly `arguments`, and no option that takes a value was given twice or empty.
    std::function<int(const QCommandLineParser &)> run;
};

// Reports a failure of the work on standard error, as the generic error box words it;
// returns Failed.
int failure(const QString &message);

// Writes raw bytes to standard output; false with the file layer's message on failure.
bool writeStdout(const QByteArray &bytes, QString *error);

// Reads standard input to its end, or `limit` bytes when it goes on beyond them; false
// with the file layer's message on failure.
bool readStdin(QByteArray *bytes, qsizetype limit, QString *error);

} // namespace quill::cli
