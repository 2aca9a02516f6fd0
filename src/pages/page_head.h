#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace quill {

// How an element's value stands in the page, and so how new bytes take its place.
enum class ValueForm {
    Text,     // the text between the tags (the title), or inside the comment
    Quoted,   // inside the quotes of its attribute
    Unquoted, // its attribute's value, written without quotes
    Bare,     // the attribute without a value ("content" alone): "=VALUE" goes after it
    Missing,  // no such attribute: " NAME=VALUE" goes after the element's last attribute
};

// One element of a page's head that the program reads or writes, found by the HTML
// parser.
struct HeadItem {
    // What the element is: "name=description", "http-equiv=refresh", "property=og:title"
    // (the attribute value lower-cased), "title", "link=icon", "link=stylesheet",
    // "link=canonical", "comment"; "lang" for the attribute of <html>.
    QString slot;
    qsizetype begin = 0; // byte range of the whole element in the page (of the attribute,
    qsizetype end = 0;   // for "lang")
    int line = 0;        // 1-based line of its first byte
    // Its value as the page's bytes hold it: the content or href attribute without its
    // quotes and with &quot; read as a quote, the title's text (the program's "&lt;"
    // before "/title" read as "<"), the comment's text.
    QByteArray value;
    // Where the value's bytes stand: [valueBegin, valueEnd), inside any quotes; for a
    // Bare or Missing value both are where its bytes would go.
    ValueForm form = ValueForm::Missing;
    qsizetype valueBegin = 0;
    qsizetype valueEnd = 0;
    char quote = 0;       // '"' or '\'' for a Quoted value
    QByteArray attribute; // the attribute that holds the value; empty for a Text one
    // The value as the parser reads it, in UTF-8: character references read, line breaks
    // as LF. Right wherever the page is in UTF-8 or the value's bytes are ASCII; itemText
    // reads it in any set.
    QByteArray text;
};

// A character set the head declares: a <meta charset> of its own, or the charset a
// Content-Type names.
struct CharsetDeclaration {
    QByteArray label; // as written, without quotes; never empty
    int line = 0;
    bool byContentType = false;
    qsizetype begin = 0; // byte range of the element that declares it
    qsizetype end = 0;
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
    // The lang attribute of <html>; its slot is empty when the page gives none.
    HeadItem lang;
    // Where a lang attribute would go in the <html> tag; -1 when the page has no such tag.
    qsizetype langAt = -1;
    // Where the <html> element begins, or where the parser implied it: after the doctype
    // and any comments before it.
    qsizetype htmlStart = 0;
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

class PageCharset;

// The text a browser reads in the item's value, the page being in `charset`.
QString itemText(QByteArrayView page, const HeadItem &item, const PageCharset &charset);

// The text a browser reads in `markup`: a title's text, or an attribute's value inside
// `quote` ('"' or '\''; 0 for a value without quotes). Character references are read and
// line breaks become LF.
QString readMarkup(QStringView markup, bool title, char quote);

// The slot of one generated line, read the way readPageHead reads a page; empty for a
// line that is no element of the head the program writes ("<HTML>", "</HEAD>").
HeadItem readGeneratedLine(QByteArrayView line);

} // namespace quill
