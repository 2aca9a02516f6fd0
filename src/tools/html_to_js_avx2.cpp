// The converter's kernels for AVX2: thirty-two bytes compared at a time, and shuffles
// within the two lanes that write thirty-two bytes with their backslashes at once.

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

[[gnu::always_inline]] inline __m256i load(const void *at)
{
    return _mm256_loadu_si256(static_cast<const __m256i *>(at));
}

// The bytes set in the two halves of a block's comparison.
[[gnu::always_inline]] inline std::uint64_t bits(__m256i low, __m256i high)
{
    return std::uint64_t(unsigned(_mm256_movemask_epi8(low))) |
           std::uint64_t(unsigned(_mm256_movemask_epi8(high))) << 32;
}

// The quotes, apostrophes, backslashes, CRs and LFs (Specials), in each lane.
[[gnu::always_inline]] inline __m256i specials(__m256i b)
{
    const __m256i wanted = _mm256_broadcastsi128_si256(
        _mm_load_si128(reinterpret_cast<const __m128i *>(Specials.data())));
    return _mm256_cmpeq_epi8(_mm256_shuffle_epi8(wanted, b), b);
}

// Bytes above 32 set their top bit (TextLift).
[[gnu::always_inline]] inline __m256i text(__m256i b)
{
    return _mm256_adds_epu8(b, _mm256_set1_epi8(TextLift));
}

[[gnu::always_inline]] inline Classes classify(const unsigned char *s)
{
    const __m256i low = load(s);
    const __m256i high = load(s + 32);
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i ctrlZ = _mm256_set1_epi8(CtrlZ);
    return classesOf(bits(specials(low), specials(high)), bits(text(low), text(high)),
                     bits(_mm256_cmpeq_epi8(low, lf), _mm256_cmpeq_epi8(high, lf)),
                     bits(_mm256_cmpeq_epi8(low, ctrlZ), _mm256_cmpeq_epi8(high, ctrlZ)));
}

// The rows of QuoteExpansions with the number of bytes each gives, 32 bytes a row, so
// that one place, 32 times the mask, finds both.
struct Expansion {
    std::array<unsigned char, 16> from;
    std::uint64_t size;
    std::uint64_t unused;
};
alignas(32) constexpr std::array<Expansion, 256> Expansions = [] {
    std::array<Expansion, 256> rows{};
    for (unsigned mask = 0; mask < 256; ++mask)
        rows[mask] = {QuoteExpansions[mask], 8 + unsigned(std::popcount(mask)), 0};
    return rows;
}();

// The row at `offset` bytes into Expansions.
[[gnu::always_inline]] inline const Expansion &expansion(std::uint64_t offset)
{
    return *reinterpret_cast<const Expansion *>(reinterpret_cast<const char *>(Expansions.data()) +
                                                offset);
}

// The rows of two groups, one for each lane.
[[gnu::always_inline]] inline __m256i rows(const Expansion &low, const Expansion &high)
{
    return _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i *>(low.from.data()))),
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(high.from.data())), 1);
}

[[gnu::always_inline]] inline std::uint64_t rotateRight(std::uint64_t bits, unsigned by)
{
    return bits >> by | bits << (64 - by);
}

// The 32 bytes at `p` with a backslash before each marked in the low 32 bits of `marks`,
// written at `o`; returns the end, having written at most 64 bytes. Without quotes they
// are copied as they are. Else each lane shuffles two groups of eight: the first and the
// third, then (from eight bytes on) the second and the fourth.
[[gnu::always_inline]] inline char *spread(const unsigned char *p, std::uint64_t marks, char *o)
{
    if (!std::uint32_t(marks)) {
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(o), load(p));
        return o + 32;
    }
    // Each group's mask as its row's place: its bits moved up by five.
    constexpr std::uint64_t Place = 0xff * sizeof(Expansion);
    const Expansion &e0 = expansion(marks << 5 & Place);
    const Expansion &e1 = expansion(rotateRight(marks, 3) & Place);
    const Expansion &e2 = expansion(rotateRight(marks, 11) & Place);
    const Expansion &e3 = expansion(rotateRight(marks, 19) & Place);
    const __m256i from02 = rows(e0, e2);
    const __m256i from13 = rows(e1, e3);
    // Each lane's group beside eight backslashes, which the rows pick where one goes.
    const __m256i bytes = load(p);
    const __m256i backslashes = _mm256_set1_epi8('\\');
    const __m256i out02 = _mm256_shuffle_epi8(_mm256_unpacklo_epi64(bytes, backslashes), from02);
    const __m256i out13 = _mm256_shuffle_epi8(_mm256_unpackhi_epi64(bytes, backslashes), from13);
    char *const o1 = o + e0.size;
    char *const o2 = o1 + e1.size;
    char *const o3 = o2 + e2.size;
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o), _mm256_castsi256_si128(out02));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o1), _mm256_castsi256_si128(out13));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o2), _mm256_extracti128_si256(out02, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o3), _mm256_extracti128_si256(out13, 1));
    return o3 + e3.size;
}

// A block's pieces converted straight from its bytes, 32 at a time.
class Spread
{
public:
    Spread(const unsigned char *bytes, std::uint64_t quotes)
        : m_bytes(bytes)
        , m_quotes(quotes)
    {}

    // Up to 64 bytes beyond the piece are written.
    [[gnu::always_inline]] char *copy(unsigned from, unsigned to, char *o) const
    {
        const std::uint64_t marks = _bzhi_u64(m_quotes, to) >> from;
        const unsigned char *const p = m_bytes + from;
        char *const end = o + (to - from) + _mm_popcnt_u64(marks);
        char *const half = spread(p, marks, o);
        if (to - from > 32)
            spread(p + 32, marks >> 32, half);
        return end;
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
