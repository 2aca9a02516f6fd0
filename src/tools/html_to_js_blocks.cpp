#include "tools/html_to_js_blocks.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quill::blocks {
namespace {

constexpr qsizetype VectorSize = 16;

// The compiler's vector type: SSE2 on x86-64, whatever the target has elsewhere; a
// comparison gives a mask of all-ones bytes.
using Block = unsigned char __attribute__((vector_size(VectorSize)));
using Mask = signed char __attribute__((vector_size(VectorSize)));

Block load(const void *at)
{
    Block block;
    std::memcpy(&block, at, VectorSize);
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
            std::memcpy(o, &b, VectorSize);
            p += VectorSize;
            o += VectorSize;
            continue;
        }
        for (int i = 0; i < VectorSize; ++i, ++p) {
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
            s += VectorSize;
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

// Sixty-four bytes at a time where the processor can place bytes under a mask (AVX-512
// with byte permutes and expansion): each half block is spread out, a backslash put in
// the gap before each quote, in one instruction.
#define QUILL_WIDE                                                                                 \
    __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")))

// Byte tables for the wide way, read from memory so that a call sets nothing up. A byte
// is one of a few wanted ones when the table's entry for its low six bits is the byte
// itself; the other entries hold their index inverted, which no byte with those low
// bits can equal.
struct WideTables {
    std::array<unsigned char, 64> special, stops, blank, backslash, cr, lf, ctrlZ;
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

alignas(64) constexpr WideTables wideTables{
    wanted({'"', '\'', '\\', '\r', '\n', CtrlZ}), // quotes and line ends
    wanted({'\n', CtrlZ}),                        // where skipping blanks stops
    filled(' '),
    filled('\\'),
    filled('\r'),
    filled('\n'),
    filled(CtrlZ),
};

QUILL_WIDE __m512i table(const std::array<unsigned char, 64> &entries)
{
    return _mm512_load_si512(entries.data());
}

QUILL_WIDE std::uint64_t matches(__m512i b, const std::array<unsigned char, 64> &entries)
{
    // The masked form only because GCC 12 warns about the plain one's unset operand.
    return _mm512_cmpeq_epi8_mask(_mm512_maskz_permutexvar_epi8(~__mmask64(0), b, table(entries)),
                                  b);
}

// The first 32 of `bytes`, those marked in `taken` with a backslash before each marked in
// `marks`, written at `o` but for the output bytes marked in `kept` only; 64 are written.
QUILL_WIDE void expandHalfWide(__m512i bytes, std::uint32_t taken, std::uint32_t marks,
                               std::uint64_t kept, char *o)
{
    // Two places for each byte, the first for a backslash, then those used packed.
    const std::uint64_t places =
        _pdep_u64(marks, 0x5555555555555555) | _pdep_u64(taken, 0xAAAAAAAAAAAAAAAA);
    const std::uint64_t placed = _pext_u64(0xAAAAAAAAAAAAAAAA, places);
    const __m512i out = _mm512_mask_expand_epi8(table(wideTables.backslash), placed, bytes);
    _mm512_mask_storeu_epi8(o, kept, out);
}

// The blanks are skipped within the block already loaded rather than by loading again
// where they end: a line costs one load less on the path from one line to the next. The
// skipped blanks go through the expansion too (one output byte each) and are left out
// when stored, so the output before `d` stays untouched. Both halves of a block are
// written without a branch on where the line ends: what lies beyond is written over later.
QUILL_WIDE LineSpan convertLineWide(const unsigned char *s, char *d, bool skip)
{
    __m512i b = _mm512_loadu_si512(s);
    // The quotes and line ends in one lookup; the ends are the ones below 33.
    std::uint64_t text = _mm512_cmpgt_epu8_mask(b, table(wideTables.blank));
    std::uint64_t special = matches(b, wideTables.special);
    unsigned start = 0;
    if (skip) {
        for (;;) {
            const std::uint64_t crs = _mm512_cmpeq_epi8_mask(b, table(wideTables.cr));
            const std::uint64_t stops = text | (special & ~crs);
            if (stops) {
                start = unsigned(_tzcnt_u64(stops));
                break;
            }
            s += 64;
            b = _mm512_loadu_si512(s);
            text = _mm512_cmpgt_epu8_mask(b, table(wideTables.blank));
            special = matches(b, wideTables.special);
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
        expandHalfWide(b, std::uint32_t(taken), std::uint32_t(marks),
                       ~_bzhi_u64(~std::uint64_t(0), start), reinterpret_cast<char *>(base));
        expandHalfWide(_mm512_maskz_shuffle_i64x2(0xFF, b, b, 0xEE), std::uint32_t(taken >> 32),
                       std::uint32_t(marks >> 32),
                       ~_bzhi_u64(~std::uint64_t(0), start - std::min(start, 32u)),
                       reinterpret_cast<char *>(base + lowSize));
        d = reinterpret_cast<char *>(base + count + unsigned(std::popcount(marks)));
        if (ends)
            return {s + count, d};
        s += 64;
        start = 0;
        b = _mm512_loadu_si512(s);
        text = _mm512_cmpgt_epu8_mask(b, table(wideTables.blank));
        special = matches(b, wideTables.special);
    }
}

// The lines of a block are found from its masks, each LF after the last by its bit, so
// that a short line costs no scan of its own; the block is loaded again only at the start
// of a line that runs beyond it.
QUILL_WIDE LinesSpan convertShortLinesWide(const unsigned char *s, char *d, qsizetype most)
{
    constexpr std::uint64_t all = ~std::uint64_t(0);
    qsizetype lines = 0;
    for (;;) {
        const __m512i b = _mm512_loadu_si512(s);
        const std::uint64_t text = _mm512_cmpgt_epu8_mask(b, table(wideTables.blank));
        const std::uint64_t quotes = matches(b, wideTables.special) & text;
        const std::uint64_t crs = _mm512_cmpeq_epi8_mask(b, table(wideTables.cr));
        const std::uint64_t lfs = _mm512_cmpeq_epi8_mask(b, table(wideTables.lf));
        const std::uint64_t stops = _mm512_cmpeq_epi8_mask(b, table(wideTables.ctrlZ));
        unsigned start = 0; // of the line, in the block
        for (;;) {
            // The bits from `start` on; none once the block is used up.
            const std::uint64_t rest = ~_bzhi_u64(all, start);
            const std::uint64_t ends = lfs & rest;
            if (lines == most || ends == 0)
                break;
            const auto lf = unsigned(_tzcnt_u64(ends));
            const std::uint64_t line = rest & _bzhi_u64(all, lf);
            if (stops & line)
                return {s + start, d, lines};
            const std::uint64_t shown = text & line;
            if (shown) {
                // From the first text byte to the last, less the CRs.
                const auto first = unsigned(_tzcnt_u64(shown));
                const auto last = 63 - unsigned(std::countl_zero(shown));
                const std::uint64_t taken =
                    _bzhi_u64(all, last + 1) & ~_bzhi_u64(all, first) & ~crs;
                // The bytes taken, packed at the block's start, then spread out.
                const __m512i packed = _mm512_maskz_compress_epi8(taken, b);
                const auto size = unsigned(std::popcount(taken));
                const std::uint64_t marks = _pext_u64(quotes, taken);
                const std::uint64_t packedTaken = _bzhi_u64(all, size);
                expandHalfWide(packed, std::uint32_t(packedTaken), std::uint32_t(marks), all, d);
                d += std::min(size, 32u) + unsigned(_mm_popcnt_u32(std::uint32_t(marks)));
                if (size > 32) {
                    expandHalfWide(_mm512_maskz_shuffle_i64x2(0xFF, packed, packed, 0xEE),
                                   std::uint32_t(packedTaken >> 32), std::uint32_t(marks >> 32),
                                   all, d);
                    d += size - 32 + unsigned(_mm_popcnt_u32(std::uint32_t(marks >> 32)));
                }
            }
            std::memcpy(d, LineSuffix, SuffixSize);
            d += SuffixSize;
            std::memcpy(d, LinePrefix, PrefixSize);
            d += PrefixSize;
            ++lines;
            start = lf + 1;
        }
        // A line that starts the block and does not end in it is not a short one.
        if (start == 0 || lines == most)
            return {s + start, d, lines};
        s += start;
    }
}

QUILL_WIDE void convertWide(const unsigned char *&p, char *&o)
{
    const LineSpan span = convertLineWide(p, o, false);
    p = span.end;
    o = span.out;
}

QUILL_WIDE const unsigned char *skipBlanksWide(const unsigned char *p)
{
    for (;;) {
        const __m512i b = _mm512_loadu_si512(p);
        const std::uint64_t stops =
            _mm512_cmpgt_epu8_mask(b, table(wideTables.blank)) | matches(b, wideTables.stops);
        if (stops)
            return p + std::countr_zero(stops);
        p += 64;
    }
}

QUILL_WIDE qint64 countFeedsWide(const char *p, const char *end)
{
    qint64 feeds = 0;
    const __m512i lf = _mm512_set1_epi8('\n');
    for (; end - p >= 64; p += 64)
        feeds += std::popcount(_mm512_cmpeq_epi8_mask(_mm512_loadu_si512(p), lf));
    if (p < end) {
        const __mmask64 left = _bzhi_u64(~std::uint64_t(0), unsigned(end - p));
        feeds +=
            std::popcount(_mm512_mask_cmpeq_epi8_mask(left, _mm512_maskz_loadu_epi8(left, p), lf));
    }
    return feeds;
}

const bool wideAvailable =
    __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
    __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
    __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");

const bool shuffleAvailable = __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
#endif

} // namespace

qint64 countFeeds(const char *begin, const char *end)
{
#if defined(__x86_64__)
    if (wideAvailable)
        return countFeedsWide(begin, end);
#endif
    qint64 feeds = 0;
    const char *p = begin;
    // Up to 255 blocks counted in bytes of their own before they could overflow.
    while (end - p >= VectorSize) {
        Block counts{};
        for (int n = 0; n < 255 && end - p >= VectorSize; ++n, p += VectorSize)
            counts -= (Block)(load(p) == splat('\n')); // an LF adds 1 (0xFF taken away)
        for (int i = 0; i < VectorSize; ++i)
            feeds += counts[i];
    }
    for (; p < end; ++p)
        feeds += *p == '\n';
    return feeds;
}

namespace {

const unsigned char *skipBlanksPortable(const unsigned char *p)
{
    for (;;) {
        const Block b = load(p);
        const Mask stops = (b > splat(' ')) | (b == splat('\n')) | (b == splat(CtrlZ));
        if (any(stops))
            return p + first(stops);
        p += VectorSize;
    }
}

} // namespace

const unsigned char *skipBlanks(const unsigned char *p)
{
#if defined(__x86_64__)
    if (wideAvailable)
        return skipBlanksWide(p);
#endif
    return skipBlanksPortable(p);
}

void convertToLineEnd(const unsigned char *&p, char *&o)
{
#if defined(__x86_64__)
    if (wideAvailable)
        return convertWide(p, o);
    if (shuffleAvailable)
        return convertWithShuffle(p, o);
#endif
    convertBytesToLineEnd(p, o);
}

LineSpan convertLine(const unsigned char *p, char *o, bool skip)
{
#if defined(__x86_64__)
    if (wideAvailable)
        return convertLineWide(p, o, skip);
#endif
    if (skip)
        p = skipBlanksPortable(p);
#if defined(__x86_64__)
    if (shuffleAvailable)
        convertWithShuffle(p, o);
    else
#endif
        convertBytesToLineEnd(p, o);
    return {p, o};
}

LinesSpan convertShortLines(const unsigned char *p, char *o, qsizetype most)
{
#if defined(__x86_64__)
    if (wideAvailable)
        return convertShortLinesWide(p, o, most);
#endif
    return {p, o, 0};
}

QList<LineConversion> lineConversions()
{
    QList<LineConversion> ways;
#if defined(__x86_64__)
    if (wideAvailable)
        ways << &convertWide;
    if (shuffleAvailable)
        ways << &convertWithShuffle;
#endif
    return ways << &convertBytesToLineEnd;
}

} // namespace quill::blocks
