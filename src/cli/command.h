// One command of quillmark-cli: its name, help texts, options and arguments, and the
// work it does. main.cpp holds the table of commands and parses the command line.
#pragma once

#include "files/project_file.h"
#include "site/site_page.h"

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
// a folder fails at once), or standard input for `-`, read whole up to a bound far beyond
// any real page; false with the message, the name first.
bool readPage(const QString &path, QByteArray *bytes, QString *error);

// A page named on the command line read as a row of the site table (readPage, then
// SitePage::read), as every command on many pages reads them; false with the message,
// the name first.
bool readSitePage(const QString &path, SitePage *page, QString *error);

// --- Files named on the command line. Every command hands the names it was given to
// these: `-` stands for standard input where the command reads a file and for standard
// output where it writes one, and each message about a file starts with its name, as
// the file layer shows names (standard input as `-`).

bool isStandardStream(const QString &name);

// "NAME: message".
QString aboutFile(const QString &name, const QString &message);

// Reports on standard error what the work found in the named file and went on with.
void warning(const QString &name, const QString &message);

// At most `limit` bytes of the named file, of the kind given (standard input whatever it
// is); false with the message.
bool readInput(const QString &name, qsizetype limit, QByteArray *bytes, QString *error,
               FileKind kind = FileKind::Any);

// Replaces the named file with `bytes`, whole or not at all; `-` writes them to standard
// output (whose failures, like those of every other write there, name no file).
bool writeOutput(const QString &name, const QByteArray &bytes, QString *error);

bool readProject(const QString &name, ProjectFile *file, QString *error);
bool writeProject(const QString &name, const ProjectFile &file, QString *error);

// distinctFiles for names as given: standard input counts as the file it is redirected
// from, standard output as none. The message names the output at fault.
bool distinctArguments(const QStringList &inputs, const QStringList &outputs, QString *error);

// Standard input and output as files, for work that takes file names only (the converter
// reads its source twice and puts its destination in place by renaming).
class StreamFiles
{
public:
    StreamFiles();
    ~StreamFiles();
    StreamFiles(const StreamFiles &) = delete;
    StreamFiles &operator=(const StreamFiles &) = delete;

    // The name to read from: `name` itself, or for `-` standard input's own file when it
    // is redirected from one, else a file of the run's own that holds all of it.
    bool input(const QString &name, QString *path, QString *error);
    // The name to write to: `name` itself, or for `-` a file of the run's own whose bytes
    // go to standard output at `finish`.
    bool output(const QString &name, QString *path, QString *error);
    // After the work is done.
    bool finish(QString *error);
    // The name as given for a path these handed out.
    QString given(const QString &path) const;

private:
    bool makeFolder(QString *error);

    QString m_folder; // removed with what it holds at the end
    QString m_input;
    QString m_output;
};

} // namespace quill::cli
