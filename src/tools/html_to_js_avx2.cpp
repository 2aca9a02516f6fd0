// The converter's kernels for AVX2: thirty-two bytes compared at a time, and shuffles
// within the two lanes that write sixteen bytes with their backslashes at once.

#include "tools/html_to_js_kernels.h"

#if defined(__x86_64__)

#include <bit>
#include <cstring>
#include <immintrin.h>

namespace quill::blocks {

// Every processor with these has LZCNT too, which not every compiler can ask about.
QUILL_BEGIN_TARGET("avx2,bmi,bmi2,lzcnt,popcnt")
namespace avx2_way {
namespace {

__m256i load(const void *at)
{
    return _mm256_loadu_si256(static_cast<const __m256i *>(at));
}

// The bytes set in the two halves of a block's comparison.
std::uint64_t bits(__m256i low, __m256i high)
{
    return std::uint64_t(unsigned(_mm256_movemask_epi8(low))) |
           std::uint64_t(unsigned(_mm256_movemask_epi8(high))) << 32;
}

__m256i quotes(__m256i b)
{
    return _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(b, _mm256_set1_epi8('"')),
                                           _mm256_cmpeq_epi8(b, _mm256_set1_epi8('\''))),
                           _mm256_cmpeq_epi8(b, _mm256_set1_epi8('\\')));
}

// Bytes of 32 or less: those the unsigned minimum with 32 leaves as they are.
__m256i blanks(__m256i b)
{
    return _mm256_cmpeq_epi8(_mm256_min_epu8(b, _mm256_set1_epi8(' ')), b);
}

Classes classify(const unsigned char *s)
{
    const __m256i low = load(s);
    const __m256i high = load(s + 32);
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i ctrlZ = _mm256_set1_epi8(CtrlZ);
    return {
        bits(_mm256_cmpeq_epi8(low, lf), _mm256_cmpeq_epi8(high, lf)),
        bits(_mm256_cmpeq_epi8(low, cr), _mm256_cmpeq_epi8(high, cr)),
        bits(_mm256_cmpeq_epi8(low, ctrlZ), _mm256_cmpeq_epi8(high, ctrlZ)),
        ~bits(blanks(low), blanks(high)),
        bits(quotes(low), quotes(high)),
    };
}

// Sixteen bytes with their backslashes, written at `o`; `mask` marks the quotes among
// them. The low lane writes the first eight and the high lane the rest, each with a row of
// the shuffle table, the high one's indexes moved on by eight; the rows' top bits mark
// where the backslashes go. Up to 16 bytes beyond the output are written.
void expand(const unsigned char *p, unsigned mask, char *o)
{
    const __m256i bytes =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)));
    const __m128i lowRow =
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(&QuoteExpansions[mask & 0xff]));
    const __m128i highRow =
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(&QuoteExpansions[mask >> 8 & 0xff]));
    const __m256i from =
        _mm256_add_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(lowRow), highRow, 1),
                        _mm256_setr_epi64x(0, 0, 0x0808080808080808, 0x0808080808080808));
    const __m256i out =
        _mm256_blendv_epi8(_mm256_shuffle_epi8(bytes, from), _mm256_set1_epi8('\\'), from);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o), _mm256_castsi256_si128(out));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o + 8 + _mm_popcnt_u32(mask & 0xff)),
                     _mm256_extracti128_si256(out, 1));
}

// A block's pieces converted straight from its bytes.
class Spread
{
public:
    Spread(const unsigned char *bytes, std::uint64_t quotes)
        : m_bytes(bytes)
        , m_quotes(quotes)
    {}

    // Up to 64 bytes beyond the piece are written.
    char *copy(unsigned from, unsigned to, char *o) const
    {
        const unsigned size = to - from;
        const std::uint64_t marks = _bzhi_u64(m_quotes, to) >> from;
        const unsigned char *const p = m_bytes + from;
        if (!marks) {
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(o), load(p));
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(o + 32), load(p + 32));
            return o + size;
        }
        // Each place found on its own, so that the shuffles wait for none other.
        for (unsigned at = 0; at < size; at += 16)
            expand(p + at, unsigned(marks >> at), o + at + _mm_popcnt_u64(_bzhi_u64(marks, at)));
        return o + size + _mm_popcnt_u64(marks);
    }

private:
    const unsigned char *m_bytes;
    std::uint64_t m_quotes;
};

#include "tools/html_to_js_generic.h"

// Four blocks of 32 at a time, while none holds a Ctrl-Z; the rest the portable way.
FeedCount countFeeds(const char *p, const char *end)
{
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i stop = _mm256_set1_epi8(CtrlZ);
    qint64 feeds = 0;
    for (; end - p >= 128; p += 128) {
        const __m256i b0 = load(p);
        const __m256i b1 = load(p + 32);
        const __m256i b2 = load(p + 64);
        const __m256i b3 = load(p + 96);
        const __m256i stops = _mm256_or_si256(
            _mm256_or_si256(_mm256_cmpeq_epi8(b0, stop), _mm256_cmpeq_epi8(b1, stop)),
            _mm256_or_si256(_mm256_cmpeq_epi8(b2, stop), _mm256_cmpeq_epi8(b3, stop)));
        if (!_mm256_testz_si256(stops, stops))
            break;
        feeds += std::popcount(bits(_mm256_cmpeq_epi8(b0, lf), _mm256_cmpeq_epi8(b1, lf))) +
                 std::popcount(bits(_mm256_cmpeq_epi8(b2, lf), _mm256_cmpeq_epi8(b3, lf)));
    }
    const FeedCount rest = countFeedsPortable(p, end);
    return {feeds + rest.feeds, rest.stop};
}

} // namespace
} // namespace avx2_way
QUILL_END_TARGET

namespace avx2_way {
namespace {

bool supported()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
           __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
}

} // namespace
} // namespace avx2_way

const Implementation avx2 = {
    "avx2",
    &avx2_way::supported,
    &avx2_way::countFeeds,
    &avx2_way::skipBlanks,
    &avx2_way::convertLine,
    &avx2_way::convertBlocks,
};

} // namespace quill::blocks

#endif
