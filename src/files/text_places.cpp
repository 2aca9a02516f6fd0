#include "files/text_places.h"

#include "document/utf8_text.h"

#include <algorithm>
#include <cstring>

namespace quill {

TextPlaces::TextPlaces(const QString &name, QByteArrayView text)
    : m_name(name)
    , m_text(text)
{
    m_lineStarts.push_back(0);
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    for (const char *p = begin;
         p < end && (p = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p))));
         ++p)
        m_lineStarts.push_back(p + 1 - begin);
}

QString TextPlaces::at(qsizetype offset)
{
    offset = std::clamp<qsizetype>(offset, 0, m_text.size());
    const auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const qsizetype line = next - m_lineStarts.begin();
    const qsizetype lineStart = next[-1];
    if (line != m_lastLine || m_lastOffset > offset) {
        m_lastLine = line;
        m_lastOffset = lineStart;
        m_lastColumn = 1;
    }
    m_lastColumn += utf8CharacterCount(m_text.sliced(m_lastOffset, offset - m_lastOffset));
    m_lastOffset = offset;
    return QStringLiteral("%1:%2:%3: ").arg(m_name).arg(line).arg(m_lastColumn);
}

} // namespace quill
