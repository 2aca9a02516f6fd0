#include "tools/html_to_js_blocks.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quill::blocks {
namespace {

// The compiler's vector type: SSE2 on x86-64, whatever the target has elsewhere; a
// comparison gives a mask of all-ones bytes.
using Block = unsigned char __attribute__((vector_size(BlockSize)));
using Mask = signed char __attribute__((vector_size(BlockSize)));

Block load(const void *at)
{
    Block block;
    std::memcpy(&block, at, BlockSize);
    return block;
}

Block splat(char c)
{
    return Block{} + static_cast<unsigned char>(c);
}

// Whether any byte of a comparison's result is set, and the first that is.
bool any(Mask hits)
{
    std::uint64_t half[2];
    std::memcpy(half, &hits, sizeof half);
    return (half[0] | half[1]) != 0;
}

int first(Mask hits)
{
    std::uint64_t half[2];
    std::memcpy(half, &hits, sizeof half);
    return half[0] ? std::countr_zero(half[0]) / 8 : 8 + std::countr_zero(half[1]) / 8;
}

Mask quotes(Block b)
{
    return (b == splat('"')) | (b == splat('\'')) | (b == splat('\\'));
}

Mask lineEnds(Block b)
{
    return (b == splat('\r')) | (b == splat('\n')) | (b == splat(CtrlZ));
}

} // namespace

void convertBytesToLineEnd(const unsigned char *&p, char *&o)
{
    for (;;) {
        const Block b = load(p);
        if (!any(quotes(b) | lineEnds(b))) {
            std::memcpy(o, &b, BlockSize);
            p += BlockSize;
            o += BlockSize;
            continue;
        }
        for (int i = 0; i < BlockSize; ++i, ++p) {
            const unsigned char c = *p;
            if (c == '\r' || c == '\n' || c == CtrlZ)
                return;
            if (c == '"' || c == '\'' || c == '\\')
                *o++ = '\\';
            *o++ = char(c);
        }
    }
}

namespace {

#if defined(__x86_64__)
// For each pattern of quotes among eight bytes, where each output byte comes from (0x80
// for none) and where the backslashes go: one byte shuffle writes the eight bytes and
// their backslashes at once.
struct Expansions {
    std::array<std::array<unsigned char, 16>, 256> from;
    std::array<std::array<unsigned char, 16>, 256> backslashes;
};

constexpr Expansions expansions = [] {
    Expansions e{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        std::size_t out = 0;
        for (unsigned char i = 0; i < 8; ++i) {
            if (mask >> i & 1) {
                e.from[mask][out] = 0x80;
                e.backslashes[mask][out++] = '\\';
            }
            e.from[mask][out++] = i;
        }
        while (out < 16)
            e.from[mask][out++] = 0x80;
    }
    return e;
}();

// Eight bytes with their backslashes; `mask` marks the quotes among them. Writes sixteen
// bytes; the first 8 + (the number of quotes) count.
__attribute__((target("ssse3,popcnt"))) char *expandHalf(__m128i bytes, unsigned mask, char *o)
{
    const __m128i from = _mm_loadu_si128(reinterpret_cast<const __m128i *>(&expansions.from[mask]));
    const __m128i backslashes =
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(&expansions.backslashes[mask]));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o),
                     _mm_or_si128(_mm_shuffle_epi8(bytes, from), backslashes));
    return o + 8 + _mm_popcnt_u32(mask);
}

__attribute__((target("ssse3,popcnt"))) void convertWithShuffle(const unsigned char *&p, char *&o)
{
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i apostrophe = _mm_set1_epi8('\'');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i end = _mm_set1_epi8(CtrlZ);
    const unsigned char *s = p;
    char *d = o;
    for (;;) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
        const auto ends = unsigned(_mm_movemask_epi8(_mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(b, cr), _mm_cmpeq_epi8(b, lf)), _mm_cmpeq_epi8(b, end))));
        auto marks = unsigned(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, quote), _mm_cmpeq_epi8(b, apostrophe)),
                         _mm_cmpeq_epi8(b, backslash))));
        // No branch on the quotes: a block without any goes through the same shuffle.
        if (ends == 0) {
            d = expandHalf(b, marks & 0xFF, d);
            d = expandHalf(_mm_srli_si128(b, 8), marks >> 8, d);
            s += BlockSize;
            continue;
        }
        // The bytes up to the line's end: what the shuffle writes beyond them is
        // written over later.
        const int count = std::countr_zero(ends);
        marks &= (1u << count) - 1;
        if (count <= 8) {
            const unsigned low = marks & 0xFF;
            expandHalf(b, low, d);
            d += count + _mm_popcnt_u32(low);
        } else {
            d = expandHalf(b, marks & 0xFF, d);
            const unsigned high = marks >> 8;
            expandHalf(_mm_srli_si128(b, 8), high, d);
            d += count - 8 + _mm_popcnt_u32(high);
        }
        s += count;
        break;
    }
    p = s;
    o = d;
}

const bool shuffleAvailable = __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
#endif

} // namespace

qint64 countFeeds(const char *begin, const char *end)
{
    qint64 feeds = 0;
    const char *p = begin;
    // Up to 255 blocks counted in bytes of their own before they could overflow.
    while (end - p >= BlockSize) {
        Block counts{};
        for (int n = 0; n < 255 && end - p >= BlockSize; ++n, p += BlockSize)
            counts -= (Block)(load(p) == splat('\n')); // an LF adds 1 (0xFF taken away)
        for (int i = 0; i < BlockSize; ++i)
            feeds += counts[i];
    }
    for (; p < end; ++p)
        feeds += *p == '\n';
    return feeds;
}

const unsigned char *skipBlanks(const unsigned char *p)
{
    for (;;) {
        const Block b = load(p);
        const Mask stops = (b > splat(' ')) | (b == splat('\n')) | (b == splat(CtrlZ));
        if (any(stops))
            return p + first(stops);
        p += BlockSize;
    }
}

void convertToLineEnd(const unsigned char *&p, char *&o)
{
#if defined(__x86_64__)
    if (shuffleAvailable)
        return convertWithShuffle(p, o);
#endif
    convertBytesToLineEnd(p, o);
}

} // namespace quill::blocks
