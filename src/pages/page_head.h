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
    // quotes and with &quot; read as a quote, the title's text, the comment's text.
    QByteArray value;
};

// What the program needs to know about a page's head. Offsets count bytes of the
// page as given, byte-order mark included.
struct PageHead {
    // False for bytes that hold no markup at all (or a NUL byte).
    bool isHtml = false;
    QList<HeadItem> items; // in the order of the page
    // The first character set the head declares (<meta charset> or a Content-Type's
    // charset=), and the line that declares it; empty when none.
    QByteArray declaredCharset;
    int declaredCharsetLine = 0;
    bool declaredByContentType = false;
    // Where the head ends: before </head>, or where the parser closed the implied head.
    qsizetype headEnd = 0;
};

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
