#pragma once

#include "pages/page_edits.h"
#include "site/site_columns.h"
#include "site/site_table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace quill {

// The most bytes of a page read: far beyond any web page, and a bound for a file that
// never ends.
inline constexpr qsizetype PageLimit = 64 * 1024 * 1024;
// Why a larger page is left alone.
QString pageTooLargeMessage();

// A page's file as it was read: a later read that finds another size, modification time
// or content finds the page changed on disk.
struct PageStamp {
    qint64 size = -1;
    qint64 modified = 0; // nanoseconds since the epoch
    quint64 hash = 0;    // of the bytes
    friend bool operator==(const PageStamp &, const PageStamp &) = default;
};

// Reads a page's file whole: a regular file only (a pipe, a device or a folder fails at
// once, before a byte is read), up to PageLimit. `stamp`, when given, is its stamp as
// read. False with the file layer's message, which the caller prefixes with the name.
bool readPageFile(const QString &path, QByteArray *bytes, PageStamp *stamp, QString *error);

// What writing a table's row back into its page does, for `table --write` and the site
// window alike: the edits that make the bytes say what the row says in `columns` (none
// when they say it already), as SitePage::plan has them. False with `error` for bytes
// that are no page, or a row the page refuses; the page must then be left alone.
bool planWriteBack(QByteArrayView bytes, const QList<SiteColumn> &columns, const SiteRow &row,
                   QList<PageEdit> *edits, QString *error);
// Replaces the page with its bytes changed by the edits, whole or not at all.
bool writeBack(const QString &path, QByteArrayView bytes, const QList<PageEdit> &edits,
               QString *error);

} // namespace quill
