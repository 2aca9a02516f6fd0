// quillmark-cli table: the tags of every page of a site as one table, and a table
// written back into the pages it names.

#include "cli/command.h"

#include "files/file_io.h"
#include "pages/page_charset.h"
#include "pages/unified_diff.h"
#include "site/page_write_back.h"
#include "site/site_page.h"
#include "site/site_table.h"

#include <cstdio>

namespace quill::cli {

namespace {

// The most bytes of a table read: far beyond the rows of any site, and a bound for an
// endless source.
constexpr qsizetype TableLimit = 256 * 1024 * 1024;

// One line of the companion's kind on standard error, as given (it names its place).
void report(const QString &line)
{
    std::fprintf(stderr, "quillmark-cli: %s\n", line.toUtf8().constData());
}

QList<SiteColumn> allColumns()
{
    QList<SiteColumn> out;
    for (const ColumnDef &def : siteColumns())
        out << def.column;
    return out;
}

int readPages(const QStringList &pages, bool json)
{
    SiteTable table;
    table.columns = allColumns();
    bool allDone = true;
    for (const QString &page : pages) {
        const auto fail = [&](const QString &why) {
            failure(displayName(page) + QStringLiteral(": ") + why);
            allDone = false;
        };
        // The table is UTF-8 through and through: it cannot name such a file.
        if (!isValidUtf8(nativeName(page))) {
            fail(QStringLiteral("the name is not UTF-8, which a table cannot hold"));
            continue;
        }
        QString error;
        SitePage read;
        if (!readSitePage(page, &read, &error)) {
            failure(error);
            allDone = false;
            continue;
        }
        for (const QString &note : read.repeatNotes())
            report(displayName(page) + QLatin1Char(':') + note);
        table.rows << read.row(page, table.columns);
    }
    QString error;
    if (!writeStdout(writeSiteTable(table, json ? TableFormat::JsonLines : TableFormat::Csv),
                     &error))
        return failure(error);
    return allDone ? Done : Failed;
}

// One row: false when its page was left alone for a fault, which is reported.
// `written` holds the table's file first (line 0), then each page written so far.
bool writeRow(const SiteTable &table, const SiteRow &row, const QString &place, bool dryRun,
              const QString &source, QList<std::pair<FileKey, int>> *written)
{
    const SiteCell &named = row.cells[table.indexOf(SiteColumn::Page)];
    if (!named || named->isEmpty()) {
        report(place + QStringLiteral("no page named"));
        return false;
    }
    const QString page = *named;
    const auto fail = [&page](const QString &why) {
        failure(displayName(page) + QStringLiteral(": ") + why);
        return false;
    };
    // Each page once: a second row would undo the first, or be undone by it.
    QString error;
    FileKey key;
    if (fileKey(page, &key)) {
        for (const auto &[other, line] : std::as_const(*written)) {
            if (other != key)
                continue;
            if (line == 0 && !distinctFiles({source}, {page}, &error))
                return fail(error);
            return fail(QStringLiteral("named again on line %1 of the table, after line %2; "
                                       "a page takes one row")
                            .arg(row.line)
                            .arg(line));
        }
        written->append({key, row.line});
    }
    QByteArray bytes;
    if (!readPage(page, &bytes, &error)) {
        failure(error);
        return false;
    }
    QList<PageEdit> edits;
    if (!planWriteBack(bytes, table.columns, row, &edits, &error))
        return fail(error);
    if (edits.isEmpty())
        return true;
    if (dryRun)
        return writeStdout(unifiedDiff(bytes, edits, page), &error) || fail(error);
    return writeBack(page, bytes, edits, &error) || fail(error);
}

int writeTable(const QString &source, bool dryRun)
{
    QString error;
    QByteArray text;
    const bool fromStdin = source == QLatin1StringView("-");
    const qsizetype most = TableLimit + 1;
    if (!(fromStdin ? readStdin(&text, most, &error) : readFileUpTo(source, most, &text, &error)))
        return failure(error);
    if (text.size() > TableLimit)
        return failure(QStringLiteral("%1: more than %2 MiB, far beyond any site's table; "
                                      "nothing written")
                           .arg(displayName(source))
                           .arg(TableLimit / (1024 * 1024)));
    SiteTable table;
    if (!readSiteTable(text, displayName(source), &table, &error)) {
        report(error);
        return Failed;
    }
    // Standard input redirected from a page is caught as /dev/stdin. The table is never
    // written over, however a row spells it.
    const QString read = fromStdin ? QStringLiteral("/dev/stdin") : source;
    QList<std::pair<FileKey, int>> written;
    FileKey tableKey;
    if (fileKey(read, &tableKey))
        written.append({tableKey, 0});
    bool allDone = true;
    for (const SiteRow &row : std::as_const(table.rows)) {
        const QString place = QStringLiteral("%1:%2: ").arg(displayName(source)).arg(row.line);
        // Rows are independent: one that fails does not stop the others.
        allDone = writeRow(table, row, place, dryRun, read, &written) && allDone;
    }
    return allDone ? Done : Failed;
}

} // namespace

Command tableCommand()
{
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("write JSON Lines, one object a page, instead "
                                                 "of CSV"));
    const QCommandLineOption write(QStringLiteral("write"),
                                   QStringLiteral("read TABLE (- for standard input) and write "
                                                  "it back into its pages"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("with --write: show the changes as a unified "
                                                   "diff; change nothing"));
    // The columns' names, in lines of the help's width.
    QString columns;
    qsizetype lineStart = 0;
    for (const ColumnDef &def : siteColumns()) {
        const QString key = QLatin1StringView(def.key);
        if (!columns.isEmpty()) {
            columns += QLatin1Char(',');
            const bool fits = columns.size() - lineStart + 1 + key.size() < 78;
            columns += fits ? QStringLiteral(" ") : QStringLiteral("\n");
            if (!fits)
                lineStart = columns.size();
        }
        columns += key;
    }
    return {
        .name = QStringLiteral("table"),
        .summary = QStringLiteral("the tags of many pages as one table, and written back"),
        .description =
            QStringLiteral(
                "Writes one row per page to standard output: CSV (RFC 4180, UTF-8, a header\n"
                "row), or JSON Lines with --json. The columns, in this order:\n%1.\n"
                "A value is the text a browser reads (entities decoded), whole; a tag the\n"
                "page lacks is an empty cell (null in JSON). A second tag of a column is\n"
                "reported on standard error with its line; the first one counts.\n"
                "\n"
                "With --write, reads TABLE (CSV or JSON Lines, told by the first byte) and\n"
                "changes each page it names only where a cell differs from the page: only\n"
                "the bytes of that value, inside the page's own quotes; a new tag on a line\n"
                "of its own beside the others; an emptied cell (null in JSON) removes the\n"
                "tag. A column the table leaves out leaves every page's tag alone; page and\n"
                "charset cannot be changed. Values are written in the page's character set,\n"
                "a character it lacks as a reference such as &#937;. The output of `table`\n"
                "written back changes no byte. Each page is replaced whole or not at all; a\n"
                "row that fails is reported and the others are still done.")
                .arg(columns),
        .options = {json, write, dryRun},
        .arguments = {QStringLiteral("PAGE.html...")},
        .run =
            [=](const QCommandLineParser &parser) {
                const QStringList arguments = parser.positionalArguments();
                if (!parser.isSet(write)) {
                    if (parser.isSet(dryRun))
                        return badUsage(QStringLiteral("--dry-run goes with --write."));
                    return readPages(arguments, parser.isSet(json));
                }
                if (parser.isSet(json))
                    return badUsage(QStringLiteral("--write tells the table's form by its "
                                                   "first byte; --json is for reading pages."));
                if (arguments.size() != 1)
                    return badUsage(QStringLiteral("--write takes one TABLE."));
                return writeTable(arguments.constFirst(), parser.isSet(dryRun));
            },
    };
}

} // namespace quill::cli
