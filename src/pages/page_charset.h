#pragma once

#include "document/utf8_text.h"
#include "pages/page_head.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quill {

// A character set as browsers know it: one of the encodings of the web's encoding
// standard, named by any of its labels there. The Western labels (ISO-8859-1, Latin-1,
// US-ASCII, Windows-1252) all name one set, as do ISO-8859-9 and Windows-1254.
class PageCharset
{
public:
    PageCharset() = default;
    // The set a label names, in any case and with blanks around it; invalid for a label
    // browsers do not know ("klingon", "IBM037", "UTF-32").
    static PageCharset forLabel(QByteArrayView label);
    static PageCharset utf8();
    static PageCharset windows1252();

    bool isValid() const { return m_index >= 0; }
    // The set's name as browsers give it ("UTF-8", "windows-1252", "ISO-8859-2").
    QString name() const;
    bool sameAs(const PageCharset &other) const { return m_index == other.m_index; }
    // Whether every ASCII character is its own byte and no other character uses a byte
    // below 0x80: the bytes of markup are then the same in any such set.
    bool keepsAscii() const;

    QString decode(QByteArrayView bytes) const;
    // Where the bytes stop being text in this set: the offset of the first byte of a
    // sequence the set does not hold (which a browser shows as U+FFFD), or of the byte
    // that shows it is broken; -1 when every byte is valid.
    qsizetype firstInvalid(QByteArrayView bytes) const;
    // False with `fault` naming the first character the set cannot hold.
    bool encode(QStringView text, QByteArray *out, QString *fault) const;

private:
    explicit PageCharset(int index)
        : m_index(index)
    {}
    int m_index = -1;
};

// How the bytes of a page are read and written: the one rule for every command that
// reads or changes pages.
struct PageEncoding {
    enum class Source {
        ByteOrderMark, // a UTF-8 byte-order mark, which outranks any declaration
        Declaration,   // <meta charset> or a Content-Type's charset
        Content,       // undeclared, but not plain ASCII: UTF-8 when valid, else Windows-1252
        PlainAscii,    // undeclared and plain ASCII: any set that keeps ASCII reads it
    };
    PageCharset charset;
    Source source = Source::PlainAscii;
    // Why, for messages after "The page ": "declares utf-8 on line 4".
    QString reason;
    // The declaration browsers take (with a byte-order mark, the one they would take
    // without it); an empty label when there is none.
    CharsetDeclaration declaration;
};

// The encoding of a page as browsers read it. A declared UTF-16 or UTF-32 is read as
// UTF-8 (the page's bytes are plainly not UTF-16, or it could not declare it),
// x-user-defined as Windows-1252. False with `error` for a declaration of a set
// browsers do not know, and of one whose bytes are not ASCII where the markup is
// (ISO-2022-JP, or the sets browsers refuse to show).
bool pageEncoding(QByteArrayView page, const PageHead &head, PageEncoding *out, QString *error);

// Whether a changed page is still read in `charset`, the set its values were written in.
// A page that declares no set is read as UTF-8 when its bytes are that, so a change to
// some of its bytes may have the others read in another set: false, with `error`, then.
bool readsAlike(const PageEncoding &changed, const PageCharset &charset, QString *error);

// The length of a UTF-8 byte-order mark at the start of `page`: 3 or 0.
qsizetype utf8BomLength(QByteArrayView page);
// True when `page` starts with a UTF-16 byte-order mark.
bool hasUtf16Bom(QByteArrayView page);

bool isAscii(QByteArrayView bytes);

// The label a Content-Type value names after "charset=", found as browsers find it
// (any case, blanks around "=", the label in quotes or up to a blank or ";"); empty
// when there is none.
QByteArray charsetOfContentType(QByteArrayView content);

// "U+20AC" and the character itself, for messages.
QString describeCharacter(char32_t code);

} // namespace quill
