// The converter's kernels for SSSE3: sixteen bytes compared at a time, and a byte shuffle
// that writes eight bytes with their backslashes at once.

#include "tools/html_to_js_kernels.h"

#if defined(__x86_64__)

#include <bit>
#include <cstring>
#include <immintrin.h>

namespace quill::blocks {

QUILL_BEGIN_TARGET("ssse3,popcnt")
namespace ssse3_way {
namespace {

// The bytes set in a comparison's result, at the place of its sixteen among the block's.
std::uint64_t bits(__m128i hits, unsigned place)
{
    return std::uint64_t(unsigned(_mm_movemask_epi8(hits))) << (16 * place);
}

// The quotes, apostrophes, backslashes, CRs and LFs (Specials).
__m128i specials(__m128i b)
{
    const __m128i wanted = _mm_load_si128(reinterpret_cast<const __m128i *>(Specials.data()));
    return _mm_cmpeq_epi8(_mm_shuffle_epi8(wanted, b), b);
}

Classes classify(const unsigned char *s)
{
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i ctrlZ = _mm_set1_epi8(CtrlZ);
    std::uint64_t special = 0, text = 0, lfs = 0, ctrlZs = 0;
    for (unsigned i = 0; i < 4; ++i) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + 16 * i));
        special |= bits(specials(b), i);
        text |= bits(_mm_adds_epu8(b, _mm_set1_epi8(TextLift)), i);
        lfs |= bits(_mm_cmpeq_epi8(b, lf), i);
        ctrlZs |= bits(_mm_cmpeq_epi8(b, ctrlZ), i);
    }
    return classesOf(special, text, lfs, ctrlZs);
}

// Eight bytes, the low half of `bytes` whose high half holds backslashes, with a
// backslash before each quote marked in `mask`. Writes sixteen bytes; the first 8 + (the
// number of quotes) count.
char *expandHalf(__m128i bytes, unsigned mask, char *o)
{
    const __m128i from =
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(QuoteExpansions[mask].data()));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o), _mm_shuffle_epi8(bytes, from));
    return o + 8 + _mm_popcnt_u32(mask);
}

class Spread
{
public:
    Spread(const unsigned char *bytes, std::uint64_t quotes)
        : m_bytes(bytes)
        , m_quotes(quotes)
    {}

    // Sixteen bytes at a time: what lies beyond the piece is written over later.
    char *copy(unsigned from, unsigned to, char *o) const
    {
        const std::uint64_t marks = (m_quotes & below(to)) >> from;
        char *const end = o + (to - from) + std::popcount(marks);
        const __m128i backslashes = _mm_set1_epi8('\\');
        for (unsigned at = 0; at < to - from; at += 16) {
            const __m128i b =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_bytes + from + at));
            const auto mask = unsigned(marks >> at);
            o = expandHalf(_mm_unpacklo_epi64(b, backslashes), mask & 0xff, o);
            o = expandHalf(_mm_unpackhi_epi64(b, backslashes), mask >> 8 & 0xff, o);
        }
        return end;
    }

private:
    const unsigned char *m_bytes;
    std::uint64_t m_quotes;
};

#include "tools/html_to_js_generic.h"

} // namespace
} // namespace ssse3_way
QUILL_END_TARGET

namespace ssse3_way {
namespace {

bool supported()
{
    return __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
}

} // namespace
} // namespace ssse3_way

const Implementation ssse3 = {
    "ssse3",
    &ssse3_way::supported,
    &countFeedsPortable,
    &ssse3_way::skipBlanks,
    &ssse3_way::convertLine,
    &ssse3_way::convertBlocks,
};

} // namespace quill::blocks

#endif
