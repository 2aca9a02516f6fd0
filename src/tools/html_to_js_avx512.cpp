// The converter's kernels where the processor can place bytes under a mask (AVX-512 with
// byte permutes and expansion): sixty-four bytes at a time, each half block spread out, a
// backslash put in the gap before each quote, in one instruction.

#include "tools/html_to_js_kernels.h"

#if defined(__x86_64__)

#include <algorithm>
#include <bit>
#include <cstring>
#include <immintrin.h>
#include <initializer_list>

namespace quill::blocks {
namespace avx512_way {
namespace {

// Byte tables, read from memory so that a call sets nothing up. A byte is one of a few
// wanted ones when the table's entry for its low six bits is the byte itself; the other
// entries hold their index inverted, which no byte with those low bits can equal.
struct Tables {
    std::array<unsigned char, 64> special, quotes, stops, blank, backslash, cr, lf, ctrlZ;
    // Byte indexes for permutes: row k counts up from k.
    std::array<std::array<unsigned char, 64>, 129> from;
};

constexpr std::array<unsigned char, 64> wanted(std::initializer_list<char> bytes)
{
    std::array<unsigned char, 64> table{};
    for (std::size_t i = 0; i < 64; ++i)
        table[i] = static_cast<unsigned char>(~i);
    for (const char c : bytes)
        table[static_cast<unsigned char>(c) & 63] = static_cast<unsigned char>(c);
    return table;
}

constexpr std::array<unsigned char, 64> filled(char c)
{
    std::array<unsigned char, 64> table{};
    table.fill(static_cast<unsigned char>(c));
    return table;
}

alignas(64) constexpr Tables tables{
    wanted({'"', '\'', '\\', '\r', '\n', CtrlZ}), // quotes and line ends
    wanted({'"', '\'', '\\'}),
    wanted({'\n', CtrlZ}), // where skipping blanks stops
    filled(' '),
    filled('\\'),
    filled('\r'),
    filled('\n'),
    filled(CtrlZ),
    [] {
        std::array<std::array<unsigned char, 64>, 129> rows{};
        for (std::size_t k = 0; k < rows.size(); ++k)
            for (std::size_t i = 0; i < 64; ++i)
                rows[k][i] = static_cast<unsigned char>(k + i);
        return rows;
    }(),
};

} // namespace
} // namespace avx512_way

// Every processor with these has LZCNT too, which not every compiler can ask about.
QUILL_BEGIN_TARGET("avx512f,avx512bw,avx512vbmi,avx512vbmi2,bmi,bmi2,lzcnt,popcnt")
namespace avx512_way {
namespace {

__m512i table(const std::array<unsigned char, 64> &entries)
{
    return _mm512_load_si512(entries.data());
}

std::uint64_t matches(__m512i b, const std::array<unsigned char, 64> &entries)
{
    // The masked form only because GCC 12 warns about the plain one's unset operand.
    return _mm512_cmpeq_epi8_mask(_mm512_maskz_permutexvar_epi8(~__mmask64(0), b, table(entries)),
                                  b);
}

Classes classify(const unsigned char *s)
{
    const __m512i b = _mm512_loadu_si512(s);
    return {
        _mm512_cmpeq_epi8_mask(b, table(tables.lf)),
        _mm512_cmpeq_epi8_mask(b, table(tables.cr)),
        _mm512_cmpeq_epi8_mask(b, table(tables.ctrlZ)),
        _mm512_cmpgt_epu8_mask(b, table(tables.blank)),
        matches(b, tables.quotes),
    };
}

// Where 32 bytes go when a backslash is put before each marked in `marks`: two places for
// each byte, the first used only for a backslash; of the places used, in order, those of
// bytes are marked.
std::uint64_t byteSlots(std::uint32_t marks)
{
    constexpr std::uint64_t even = 0x5555555555555555;
    constexpr std::uint64_t odd = ~even;
    return _pext_u64(odd, _pdep_u64(marks, even) | odd);
}

// The first 32 of `bytes` with a backslash before each marked in `marks`, written at `o`
// but for the output bytes marked in `kept` only; 64 are written.
void expandHalf(__m512i bytes, std::uint32_t marks, std::uint64_t kept, char *o)
{
    const __m512i out = _mm512_mask_expand_epi8(table(tables.backslash), byteSlots(marks), bytes);
    _mm512_mask_storeu_epi8(o, kept, out);
}

// Copies bytes [from, to) of the 128 in `low` and `high`, 128 at most, to `o` and returns
// the end of the output; up to 64 bytes beyond it are written.
char *copySpread(__m512i low, __m512i high, unsigned from, unsigned to, char *o)
{
    if (from == 0) {
        _mm512_storeu_si512(o, low);
        if (to > 64)
            _mm512_storeu_si512(o + 64, high);
        return o + to;
    }
    _mm512_storeu_si512(o, _mm512_permutex2var_epi8(low, table(tables.from[from]), high));
    if (to - from > 64)
        _mm512_storeu_si512(o + 64,
                            _mm512_permutex2var_epi8(low, table(tables.from[from + 64]), high));
    return o + (to - from);
}

// A block spread out whole with its backslashes, loaded once; each piece copied out of it.
class Spread
{
public:
    Spread(const unsigned char *bytes, std::uint64_t quotes)
        : m_quotes(quotes)
    {
        // The second half's places run on from the first's: the first 64 are filled from
        // the block and the rest from where those left off.
        const std::uint64_t lowSlots = byteSlots(std::uint32_t(quotes));
        const std::uint64_t highSlots = byteSlots(std::uint32_t(quotes >> 32));
        const unsigned lowSize = 32 + unsigned(std::popcount(std::uint32_t(quotes)));
        const std::uint64_t firstSlots = lowSlots | highSlots << 32 << (lowSize - 32);
        const std::uint64_t secondSlots = highSlots >> (64 - lowSize);
        const __m512i backslashes = table(tables.backslash);
        m_low = _mm512_mask_expand_epi8(backslashes, firstSlots, _mm512_loadu_si512(bytes));
        m_high = _mm512_mask_expand_epi8(backslashes, secondSlots,
                                         _mm512_loadu_si512(bytes + std::popcount(firstSlots)));
    }

    char *copy(unsigned from, unsigned to, char *o) const
    {
        return copySpread(m_low, m_high, spreadAt(from), spreadAt(to), o);
    }

private:
    // Where byte `at` of the block lands.
    unsigned spreadAt(unsigned at) const
    {
        return at + unsigned(std::popcount(_bzhi_u64(m_quotes, at)));
    }

    std::uint64_t m_quotes;
    __m512i m_low;
    __m512i m_high;
};

#include "tools/html_to_js_generic.h"

// The blanks are skipped within the block already loaded rather than by loading again
// where they end: a line costs one load less on the path from one line to the next. The
// skipped blanks go through the expansion too (one output byte each) and are left out
// when stored, so the output before `d` stays untouched. Both halves of a block are
// written without a branch on where the line ends: what lies beyond is written over later.
LineSpan convertLineWide(const unsigned char *s, char *d, bool skip)
{
    __m512i b = _mm512_loadu_si512(s);
    // The quotes and line ends in one lookup; the ends are the ones below 33.
    std::uint64_t text = _mm512_cmpgt_epu8_mask(b, table(tables.blank));
    std::uint64_t special = matches(b, tables.special);
    unsigned start = 0;
    if (skip) {
        for (;;) {
            const std::uint64_t crs = _mm512_cmpeq_epi8_mask(b, table(tables.cr));
            const std::uint64_t stops = text | (special & ~crs);
            if (stops) {
                start = unsigned(_tzcnt_u64(stops));
                break;
            }
            s += 64;
            b = _mm512_loadu_si512(s);
            text = _mm512_cmpgt_epu8_mask(b, table(tables.blank));
            special = matches(b, tables.special);
        }
    }
    for (;;) {
        // The bytes up to the line's end, all of them when it lies beyond; a CR among the
        // skipped bytes is not its end.
        const std::uint64_t ends = (special & ~text) >> start << start;
        const auto count = unsigned(_tzcnt_u64(ends));
        const std::uint64_t taken = _bzhi_u64(~std::uint64_t(0), count);
        const std::uint64_t marks = special & text & taken;
        const auto base = reinterpret_cast<std::uintptr_t>(d) - start;
        const auto lowSize =
            unsigned(_mm_popcnt_u32(std::uint32_t(taken)) + _mm_popcnt_u32(std::uint32_t(marks)));
        expandHalf(b, std::uint32_t(marks), ~_bzhi_u64(~std::uint64_t(0), start),
                   reinterpret_cast<char *>(base));
        expandHalf(_mm512_maskz_shuffle_i64x2(0xFF, b, b, 0xEE), std::uint32_t(marks >> 32),
                   ~_bzhi_u64(~std::uint64_t(0), start - std::min(start, 32u)),
                   reinterpret_cast<char *>(base + lowSize));
        d = reinterpret_cast<char *>(base + count + unsigned(std::popcount(marks)));
        if (ends)
            return {s + count, d};
        s += 64;
        start = 0;
        b = _mm512_loadu_si512(s);
        text = _mm512_cmpgt_epu8_mask(b, table(tables.blank));
        special = matches(b, tables.special);
    }
}

const unsigned char *skipBlanksWide(const unsigned char *p)
{
    for (;; p += 64) {
        const __m512i b = _mm512_loadu_si512(p);
        const std::uint64_t stops =
            _mm512_cmpgt_epu8_mask(b, table(tables.blank)) | matches(b, tables.stops);
        if (stops)
            return p + std::countr_zero(stops);
    }
}

FeedCount countFeeds(const char *p, const char *end)
{
    constexpr std::uint64_t all = ~std::uint64_t(0);
    const __m512i lf = _mm512_set1_epi8('\n');
    const __m512i stop = _mm512_set1_epi8(CtrlZ);
    qint64 feeds = 0;
    // Whole blocks with no Ctrl-Z, four at a time: the stops are looked for once for all.
    for (; end - p >= 4 * 64; p += 4 * 64) {
        const __m512i b0 = _mm512_loadu_si512(p);
        const __m512i b1 = _mm512_loadu_si512(p + 64);
        const __m512i b2 = _mm512_loadu_si512(p + 128);
        const __m512i b3 = _mm512_loadu_si512(p + 192);
        const __mmask64 stops = _kor_mask64(
            _kor_mask64(_mm512_cmpeq_epi8_mask(b0, stop), _mm512_cmpeq_epi8_mask(b1, stop)),
            _kor_mask64(_mm512_cmpeq_epi8_mask(b2, stop), _mm512_cmpeq_epi8_mask(b3, stop)));
        if (stops)
            break;
        feeds += std::popcount(_mm512_cmpeq_epi8_mask(b0, lf)) +
                 std::popcount(_mm512_cmpeq_epi8_mask(b1, lf)) +
                 std::popcount(_mm512_cmpeq_epi8_mask(b2, lf)) +
                 std::popcount(_mm512_cmpeq_epi8_mask(b3, lf));
    }
    for (; p < end; p += 64) {
        const __mmask64 inside = _bzhi_u64(all, unsigned(std::min<qsizetype>(end - p, 64)));
        const __m512i b = _mm512_maskz_loadu_epi8(inside, p);
        const std::uint64_t lfs = _mm512_mask_cmpeq_epi8_mask(inside, b, lf);
        const std::uint64_t stops = _mm512_mask_cmpeq_epi8_mask(inside, b, stop);
        if (stops) {
            const auto at = unsigned(_tzcnt_u64(stops));
            return {feeds + std::popcount(_bzhi_u64(lfs, at)), p + at};
        }
        feeds += std::popcount(lfs);
    }
    return {feeds, nullptr};
}

} // namespace
} // namespace avx512_way
QUILL_END_TARGET

namespace avx512_way {
namespace {

bool supported()
{
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
           __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
}

} // namespace
} // namespace avx512_way

const Implementation avx512 = {
    "avx512",
    &avx512_way::supported,
    &avx512_way::countFeeds,
    &avx512_way::skipBlanksWide,
    &avx512_way::convertLineWide,
    &avx512_way::convertBlocks,
};

} // namespace quill::blocks

#endif
