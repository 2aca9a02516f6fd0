#include "document/ansi_codec.h"

#include "document/character_set.h"

namespace quill {

QByteArray encodeAnsi(QStringView text)
{
    return CharacterSet::western().encode(text, Lacking::QuestionMark);
}

QString decodeAnsi(QByteArrayView bytes)
{
    return CharacterSet::western().decode(bytes);
}

} // namespace quill
