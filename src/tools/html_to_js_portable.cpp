// The converter's kernels for any processor: eight bytes at a time in a 64-bit word.

#include "tools/html_to_js_kernels.h"

#include <bit>
#include <cstring>

namespace quill::blocks {

const unsigned char *dropCrs(const unsigned char *s, std::uint64_t crs, unsigned char *into)
{
    unsigned kept = 0;
    for (unsigned i = 0; i < unsigned(RunBlockSize); ++i) {
        into[kept] = s[i];
        kept += unsigned(~crs >> i & 1);
    }
    std::memset(into + kept, 0, std::size_t(RunBlockSize - kept));
    return into;
}

FeedCount countFeedsPortable(const char *begin, const char *end)
{
    const auto *stop =
        static_cast<const char *>(std::memchr(begin, CtrlZ, std::size_t(end - begin)));
    if (stop)
        end = stop;
    qint64 feeds = 0;
    const char *p = begin;
    // Eight bytes at a time, each LF adding one to the top bit of its byte.
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t t = word ^ 0x0a0a0a0a0a0a0a0aull;
        feeds += std::popcount(
            ~(((t & 0x7f7f7f7f7f7f7f7full) + 0x7f7f7f7f7f7f7f7full) | t | 0x7f7f7f7f7f7f7f7full));
    }
    for (; p < end; ++p)
        feeds += *p == '\n';
    return {feeds, stop};
}

namespace portable_way {
namespace {

constexpr std::uint64_t Ones = 0x0101010101010101ull;
constexpr std::uint64_t Tops = 0x8080808080808080ull;
constexpr std::uint64_t Lows = ~Tops;

// The top bit of each byte of `word` that equals `c`.
std::uint64_t equal(std::uint64_t word, unsigned char c)
{
    const std::uint64_t t = word ^ (Ones * c);
    return ~(((t & Lows) + Lows) | t | Lows);
}

// The top bits of a word's bytes gathered into eight bits, byte i at bit i: each lands in
// the top byte of the product, and no two products meet.
std::uint64_t gather(std::uint64_t tops)
{
    return (tops >> 7) * 0x0102040810204080ull >> 56;
}

Classes classify(const unsigned char *s)
{
    Classes c{};
    for (unsigned i = 0; i < 8; ++i) {
        std::uint64_t word;
        std::memcpy(&word, s + 8 * i, sizeof word);
        if constexpr (std::endian::native == std::endian::big)
            word = __builtin_bswap64(word);
        const unsigned shift = 8 * i;
        c.lfs |= gather(equal(word, '\n')) << shift;
        c.crs |= gather(equal(word, '\r')) << shift;
        c.ctrlZs |= gather(equal(word, CtrlZ)) << shift;
        // Above 32: a byte of 128 or more, or one that 95 more lifts to 128.
        c.text |= gather((((word & Lows) + Ones * 95) | word) & Tops) << shift;
        c.quotes |= gather(equal(word, '"') | equal(word, '\'') | equal(word, '\\')) << shift;
    }
    return c;
}

class Spread
{
public:
    Spread(const unsigned char *bytes, std::uint64_t quotes)
        : m_bytes(bytes)
        , m_quotes(quotes)
    {}

    // A block's worth is copied at a time: what lies beyond the piece is written over later.
    char *copy(unsigned from, unsigned to, char *o) const
    {
        std::uint64_t marks = m_quotes & below(to) & ~below(from);
        unsigned at = from;
        for (; marks; marks &= marks - 1) {
            const unsigned quote = firstBit(marks);
            std::memcpy(o, m_bytes + at, std::size_t(RunBlockSize));
            o += quote - at;
            *o++ = '\\';
            at = quote;
        }
        std::memcpy(o, m_bytes + at, std::size_t(RunBlockSize));
        return o + (to - at);
    }

private:
    const unsigned char *m_bytes;
    std::uint64_t m_quotes;
};

#include "tools/html_to_js_generic.h"

bool always()
{
    return true;
}

} // namespace
} // namespace portable_way

const Implementation portable = {
    "portable",
    &portable_way::always,
    &countFeedsPortable,
    &portable_way::skipBlanks,
    &portable_way::convertLine,
    &portable_way::convertBlocks,
};

} // namespace quill::blocks
