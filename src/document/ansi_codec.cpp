#include "document/ansi_codec.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quill {
namespace {

// Bytes 0x80 to 0x9F, where Windows-1252 departs from Latin-1. The five bytes the
// set leaves undefined map to the control characters of the same value, as the
// platform's own conversion does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The same bytes by character, sorted for a search of at most five steps.
constexpr auto byCharacter = [] {
    std::array<std::pair<char16_t, unsigned char>, 32> table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = {highControls[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(table.begin(), table.end());
    return table;
}();

char encodeOne(char32_t c)
{
    const int byte = ansiByte(c);
    return byte < 0 ? '?' : static_cast<char>(byte);
}

} // namespace

int ansiByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    const auto at = std::lower_bound(byCharacter.begin(), byCharacter.end(), c,
                                     [](const auto &entry, char32_t v) { return entry.first < v; });
    return at != byCharacter.end() && at->first == c ? at->second : -1;
}

QByteArray encodeAnsi(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character beyond the 16-bit range is one character, written once.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            out.append('?');
            continue;
        }
        out.append(c.isSurrogate() ? '?' : encodeOne(c.unicode()));
    }
    return out;
}

QString decodeAnsi(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = (b >= 0x80 && b < 0xA0) ? QChar(highControls[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

} // namespace quill
