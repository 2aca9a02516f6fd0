#pragma once

// What the readers of the site room share: places in messages, cell texts and
// the check of the columns a header names.

#include "site/site_columns.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace quill::site_text {

// "NAME:LINE: ".
QString place(const QString &name, int line);
// "NAME:LINE:COLUMN: " for a byte offset of UTF-8 text; lines and columns count from 1,
// columns in characters. Counted when asked, for the one fault a reader reports.
QString placeAt(const QString &name, QByteArrayView text, qsizetype offset);

// The characters of well-formed UTF-8, a leading U+FEFF kept as the character it is.
// False when the bytes are not well-formed (half a surrogate pair from a JSON escape).
bool decodeText(QByteArrayView utf8, QString *text);

// A text as a browser shows it: ASCII blanks stripped at both ends and collapsed within
// to one space; a no-break space is a letter here.
QString collapsed(QStringView text);

// A name as a message shows it: a JSON string, so that every character stays visible.
QString quoted(QByteArrayView name);

// The columns a header names, in its order: each one known and named once, `page`
// among them. On failure returns false with the reason in `error`.
bool headerColumns(const QList<QByteArray> &names, QList<SiteColumn> *columns, QString *error);

} // namespace quill::site_text
