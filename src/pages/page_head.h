#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace quill {

// One element of a page's head that the program writes, found by the HTML parser.
struct HeadItem {
    // What the element is: "name=description", "http-equiv=refresh" (the attribute
    // value lower-cased), "title", "link=icon", "link=stylesheet" or "comment".
    QString slot;
    qsizetype begin = 0; // byte range of the whole element in the page
    qsizetype end = 0;
    int line = 0; // 1-based line of its first byte
    // Its value as the page's bytes hold it: the content or href attribute without its
    // quotes and with &quot; read as a quote, the title's text (the program's "&lt;"
    // before "/title" read as "<"), the comment's text.
    QByteArray value;
};

// A character set the head declares: a <meta charset> of its own, or the charset a
// Content-Type names.
struct CharsetDeclaration {
    QByteArray label; // as written, without quotes; never empty
    int line = 0;
    bool byContentType = false;
};

// What the program needs to know about a page's head, read as a browser with scripts
// on reads it (the content of a <noscript> is text). Offsets count bytes of the page
// as given, byte-order mark included.
struct PageHead {
    // False for bytes that hold no markup at all (or a NUL byte).
    bool isHtml = false;
    // Why a page with markup could not be read (elements nested beyond reason); empty
    // when it was.
    QString error;
    QList<HeadItem> items;                  // in the order of the page
    QList<CharsetDeclaration> declarations; // in the order of the page
    // Where the head ends: before </head>, or where the parser closed the implied head.
    qsizetype headEnd = 0;
};

// How deep a page's elements may nest; no browser renders such a page sensibly, and
// the parser's work grows with the depth.
constexpr int NestingLimit = 10000;

// The title's text as a page holds it: the "<" of each "</title" that would end the
// title early written "&lt;". The title's value (HeadItem::value) reads it back.
QString titleMarkup(const QString &text);

// Whether the slot is a meta tag's; the title, the links and the comment are not.
bool isMetaSlot(const QString &slot);

// The slot as the page would show it: <meta name="description">, <title>, a comment.
QString slotLabel(const QString &slot);

// Reads the head of `page` with an HTML parser that builds the tree as browsers do.
PageHead readPageHead(QByteArrayView page);

// The slot of one generated line, read the way readPageHead reads a page; empty for a
// line that is no element of the head the program writes ("<HTML>", "</HEAD>").
HeadItem readGeneratedLine(QByteArrayView line);

} // namespace quill
