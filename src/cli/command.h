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
    // In this order; "[NAME]" may be left out, a last "NAME..." given any number of times.
    QStringList arguments;
    // Called once the command line has been checked: the positional arguments are
    // as `arguments` asks, and no option that takes a value was given twice or empty.
    std::function<int(const QCommandLineParser &)> run;
};

// Reports a failure of the work on standard error, as the generic error box words it;
// returns Failed.
int failure(const QString &message);

// Reports a command line that the table of commands lets through but the command
// cannot take; returns BadUsage, after which the command's usage is shown.
int badUsage(const QString &why);

// Reads an HTML page named on the command line: a regular file only (a pipe, a device or
// a folder fails at once), read whole up to a bound far beyond any real page; false with
// the message, the name first.
bool readPage(const QString &path, QByteArray *bytes, QString *error);

} // namespace quill::cli
