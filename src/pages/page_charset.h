#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quill {

// A character set a page is written in, known by one of its labels. The Western labels
// (ISO-8859-1, Latin-1, ASCII, Windows-1252) are one set, as browsers read them.
class PageCharset
{
public:
    PageCharset() = default;
    static PageCharset forLabel(QByteArrayView label);
    static PageCharset utf8();
    static PageCharset windows1252();

    // False for a label no codec knows.
    bool isValid() const { return !m_name.isEmpty(); }
    // The set's canonical name ("UTF-8", "windows-1252", "ISO-8859-2").
    QString name() const { return m_name; }
    bool sameAs(const PageCharset &other) const { return m_name == other.m_name; }

    QString decode(QByteArrayView bytes) const;
    // False with `fault` naming the first character the set cannot hold.
    bool encode(QStringView text, QByteArray *out, QString *fault) const;

private:
    QString m_name;
};

// The length of a UTF-8 byte-order mark at the start of `page`: 3 or 0.
qsizetype utf8BomLength(QByteArrayView page);
// True when `page` starts with a UTF-16 byte-order mark.
bool hasUtf16Bom(QByteArrayView page);

bool isValidUtf8(QByteArrayView bytes);
bool isAscii(QByteArrayView bytes);

// The label after "charset=" in a Content-Type value; empty when there is none.
QByteArray charsetOfContentType(QByteArrayView content);

// "U+20AC" and the character itself, for messages.
QString describeCharacter(char32_t code);

} // namespace quill
