#include "document/utf8_text.h"

#include <QStringDecoder>

#include <algorithm>

namespace quill {

bool isValidUtf8(QByteArrayView bytes)
{
    return bytes.isValidUtf8();
}

qsizetype utf8CharacterLength(QByteArrayView text, qsizetype at)
{
    if (static_cast<unsigned char>(text[at]) < 0x80)
        return 1;
    // No shorter start of a character's bytes is well-formed, so its length is that of the
    // shortest well-formed run from its first byte.
    const qsizetype longest = std::min<qsizetype>(4, text.size() - at);
    for (qsizetype length = 2; length <= longest; ++length) {
        if (isValidUtf8(text.sliced(at, length)))
            return length;
    }
    return 0;
}

qsizetype firstInvalidUtf8(QByteArrayView text)
{
    if (isValidUtf8(text))
        return -1;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype length = utf8CharacterLength(text, at);
        if (length == 0)
            break;
        at += length;
    }
    return at;
}

namespace {

// A byte 10xxxxxx continues a character.
bool continuesCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

qsizetype utf8CharacterCount(QByteArrayView text)
{
    return std::count_if(text.begin(), text.end(), [](char c) { return !continuesCharacter(c); });
}

qsizetype utf8CharacterStart(QByteArrayView text, qsizetype at)
{
    while (at > 0 && at < text.size() && continuesCharacter(text[at]))
        --at;
    return at;
}

QString utf8Characters(QByteArrayView utf8)
{
    // QString::fromUtf8 would take a leading U+FEFF for a byte-order mark and drop it.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

} // namespace quill
