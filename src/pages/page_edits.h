#pragma once

#include "pages/page_charset.h"
#include "pages/page_head.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace quill {

// One change to a page: the bytes [begin, end) give way to `bytes`.
struct PageEdit {
    qsizetype begin = 0;
    qsizetype end = 0;
    QByteArray bytes;
    friend bool operator==(const PageEdit &, const PageEdit &) = default;
};

// The page with the edits made; they come sorted and never overlap.
QByteArray spliced(QByteArrayView page, const QList<PageEdit> &edits);

// Sorts the edits by place, drops those that change no byte, and tells whether they
// stay apart (false when two overlap).
bool orderEdits(QByteArrayView page, QList<PageEdit> *edits);

// Where an edit's first byte stands in the page the edits make.
qsizetype placeAfterEdits(const QList<PageEdit> &edits, qsizetype index);

// The page's own line ending: that of its first line; CR LF, the program's, when it
// has a single line.
QByteArray lineEnding(QByteArrayView page);

// The edit that removes the bytes [begin, end), with their whole line when nothing else
// stands on it.
PageEdit removal(QByteArrayView page, qsizetype begin, qsizetype end);

// The edit that removes the attribute [begin, end) from its tag, with the blanks before it.
PageEdit attributeRemoval(QByteArrayView page, qsizetype begin, qsizetype end);

// The edit that puts `element` at `at`, on a line of its own when `at` begins one.
PageEdit insertionAt(QByteArrayView page, qsizetype at, const QByteArray &element);

// The edit that adds `elements` after the element [begin, end): each on a line of its
// own below the element's, with the indentation of the line it begins on, when the
// element ends its line; else right after it, as a head written on one line has them.
PageEdit insertionAfter(QByteArrayView page, qsizetype begin, qsizetype end,
                        const QList<QByteArray> &elements);

// The edit that adds `elements` where the head ends, each on a line of its own with the
// indentation of the head's first element on a line of its own.
PageEdit insertionAtHeadEnd(QByteArrayView page, const PageHead &head,
                            const QList<QByteArray> &elements);

// How the characters of a value become the page's bytes.
struct ValueWriting {
    enum class Kind {
        // Text the program generates, whose entities stand as typed: only the quote
        // that would end the value (and the title's own end) is escaped.
        Markup,
        // The text a browser shows: each "&" that would begin a character reference
        // is escaped too.
        Shown,
    };
    Kind kind = Kind::Shown;
    PageCharset charset; // the page's set
    // Each character beyond ASCII as a numeric character reference ("&#937;"), for a
    // page that declares no set and may be read in any.
    bool asciiOnly = false;
    // A character the set lacks as a numeric character reference; else it is an error.
    bool references = true;
};

// The bytes of `text` in the page's set, as `how` has them. False with `error` naming
// the first character the set lacks when it takes no references.
bool encodeForPage(QStringView text, const ValueWriting &how, QByteArray *bytes, QString *error);

// `text` made markup for an attribute's value inside `quote` ('"' or '\''; 0 for none),
// or with `title` for a title's text: that quote written as a reference, the "<" of a
// "</title" that would end the title early as "&lt;", and for shown text each "&" that
// would begin a reference as "&amp;" (none where the text reads as itself without).
QString valueMarkup(QStringView text, char quote, ValueWriting::Kind kind, bool title = false);

// The edit that gives the item the value `text`: only the value's bytes change, inside
// the page's own quotes (the title's text with the "<" of a "</title" that would end it
// early escaped, a comment's as it is). An unquoted value is quoted only when the new one
// needs it; a bare attribute gains "=VALUE", a missing one " NAME=VALUE" after the last
// attribute. False with `error` as encodeForPage has it.
bool valueEdit(const HeadItem &item, QStringView text, const ValueWriting &how, PageEdit *edit,
               QString *error);

} // namespace quill
