#pragma once

#include "document/field_catalogue.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace quill {

class TagDocument;

// What an encoding writes for a character the set lacks: '?' where one byte must stand
// (the project record), or a numeric character reference ("&#937;") that every browser
// shows as the character (pages).
enum class Lacking { QuestionMark, CharacterReference };

// The character set texts are held and pages written in: an item of the character-set
// list, read as browsers read its label, converted by ICU. Every one keeps ASCII byte for
// byte; all but UTF-8 give each character one byte.
class CharacterSet
{
public:
    // The set of the list's item `index`; the Western one for an index outside the list,
    // which is what browsers read a page in that declares nothing they know.
    static CharacterSet ofItem(int index);
    // The set the document's chosen item names.
    static CharacterSet of(const TagDocument &doc);
    // Windows-1252, the set of every file the program wrote before the list named others.
    static CharacterSet western();

    // The encoding's name ("windows-1252", "ISO-8859-7", "UTF-8").
    QString name() const { return QLatin1StringView(m_encoding); }
    bool isUtf8() const;

    QByteArray encode(QStringView text, Lacking lacking) const;
    // A byte the set leaves undefined, or a broken UTF-8 sequence, reads as U+FFFD, as
    // browsers read it.
    QString decode(QByteArrayView bytes) const;

    // The characters of `text` the set cannot hold, each once, in the order met.
    QList<char32_t> lacking(QStringView text) const;
    // Whether the set holds every character of `text`; half a surrogate pair is no
    // character, and no set holds it.
    bool holds(QStringView text) const;

    // The text's bytes as the record keeps them: a lacking character as '?', at most
    // `capacity` bytes, cut only where a character ends.
    QByteArray fitted(QStringView text, int capacity) const;

    friend bool operator==(const CharacterSet &a, const CharacterSet &b)
    {
        return a.name() == b.name();
    }

private:
    explicit CharacterSet(const char *encoding)
        : m_encoding(encoding)
    {}

    const char *m_encoding;
};

// A text of the document whose characters a set cannot all hold.
struct LackingText {
    Field field;
    QList<char32_t> characters; // each once, in the order met
};

// Every text of the document that holds characters `set` lacks, in record order.
QList<LackingText> lackingTexts(const TagDocument &doc, const CharacterSet &set);

} // namespace quill
