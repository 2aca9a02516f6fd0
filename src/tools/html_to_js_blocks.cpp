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
    __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,bmi,bmi2,lzcnt,popcnt")))

// Byte tables for the wide way, read from memory so that a call sets nothing up. A byte
// is one of a few wanted ones when the table's entry for its low six bits is the byte
// itself; the other entries hold their index inverted, which no byte with those low
// bits can equal.
struct WideTables {
    std::array<unsigned char, 64> special, stops, blank, backslash, cr, lf, ctrlZ;
    // Byte indexes for permutes: row k counts up from k.
    std::array<std::array<unsigned char, 64>, 129> from;
    // What is written over an LF: the suffix closing its line and the prefix opening the next.
    std::array<char, 32> closing;
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
    [] {
        std::array<std::array<unsigned char, 64>, 129> rows{};
        for (std::size_t k = 0; k < rows.size(); ++k)
            for (std::size_t i = 0; i < 64; ++i)
                rows[k][i] = static_cast<unsigned char>(k + i);
        return rows;
    }(),
    [] {
        std::array<char, 32> bytes{};
        for (std::size_t i = 0; i < std::size_t(SuffixSize + PrefixSize); ++i)
            bytes[i] = i < std::size_t(SuffixSize) ? LineSuffix[i] : LinePrefix[i - SuffixSize];
        return bytes;
    }(),
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

// Where 32 bytes go when a backslash is put before each marked in `marks`: two places for
// each byte, the first used only for a backslash; of the places used, in order, those of
// bytes are marked.
QUILL_WIDE std::uint64_t byteSlots(std::uint32_t marks)
{
    constexpr std::uint64_t even = 0x5555555555555555;
    constexpr std::uint64_t odd = ~even;
    return _pext_u64(odd, _pdep_u64(marks, even) | odd);
}

// The first 32 of `bytes` with a backslash before each marked in `marks`, written at `o`
// but for the output bytes marked in `kept` only; 64 are written.
QUILL_WIDE void expandHalfWide(__m512i bytes, std::uint32_t marks, std::uint64_t kept, char *o)
{
    const __m512i out =
        _mm512_mask_expand_epi8(table(wideTables.backslash), byteSlots(marks), bytes);
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
        expandHalfWide(b, std::uint32_t(marks), ~_bzhi_u64(~std::uint64_t(0), start),
                       reinterpret_cast<char *>(base));
        expandHalfWide(_mm512_maskz_shuffle_i64x2(0xFF, b, b, 0xEE), std::uint32_t(marks >> 32),
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

// Copies bytes [from, to) of the 128 in `low` and `high`, 128 at most, to `o` and returns
// the end of the output; up to 64 bytes beyond it are written.
QUILL_WIDE char *copySpread(__m512i low, __m512i high, unsigned from, unsigned to, char *o)
{
    if (from == 0) {
        _mm512_storeu_si512(o, low);
        if (to > 64)
            _mm512_storeu_si512(o + 64, high);
        return o + to;
    }
    _mm512_storeu_si512(o, _mm512_permutex2var_epi8(low, table(wideTables.from[from]), high));
    if (to - from > 64)
        _mm512_storeu_si512(o + 64,
                            _mm512_permutex2var_epi8(low, table(wideTables.from[from + 64]), high));
    return o + (to - from);
}

// Where byte `at` of a block lands when the block is spread out with a backslash before
// each quote marked in `quotes`.
QUILL_WIDE unsigned spreadAt(std::uint64_t quotes, unsigned at)
{
    return at + unsigned(std::popcount(_bzhi_u64(quotes, at)));
}

// Each block is loaded once and spread out whole with its backslashes. Without CRs, the
// bytes a line keeps in a block run from its first text byte to its last (to the block's
// end when it goes on), so each line is one piece of the spread block, copied out with
// the suffix and prefix written after it.
QUILL_WIDE BlocksSpan convertBlocksWide(const unsigned char *s, char *d, char *keep, bool inText,
                                        qsizetype most)
{
    constexpr std::uint64_t all = ~std::uint64_t(0);
    const __m256i closing =
        _mm256_loadu_si256(reinterpret_cast<const __m256i *>(wideTables.closing.data()));
    const __m512i lf = table(wideTables.lf);
    const __m512i ctrlZ = table(wideTables.ctrlZ);
    const __m512i blank = table(wideTables.blank);
    const __m512i cr = table(wideTables.cr);
    const __m512i special = table(wideTables.special);
    const __m512i backslashes = table(wideTables.backslash);
    qsizetype due = most; // the lines that may still end
    alignas(64) unsigned char squeezed[128] = {};
    for (;; s += 64) {
        __m512i b = _mm512_loadu_si512(s);
        std::uint64_t lfs = _mm512_cmpeq_epi8_mask(b, lf);
        if (_mm512_cmpeq_epi8_mask(b, ctrlZ) || std::popcount(lfs) > due)
            break;
        due -= std::popcount(lfs);
        std::uint64_t text = _mm512_cmpgt_epu8_mask(b, blank);
        std::uint64_t quotes =
            _mm512_cmpeq_epi8_mask(_mm512_maskz_permutexvar_epi8(all, b, special), b) & text;
        // A CR just before an LF lies among the bytes the line drops anyway. Where one
        // stands elsewhere, the block's CRs are dropped first and the rest taken as a
        // shorter block, followed by bytes that are neither text nor line ends.
        const std::uint64_t crs = _mm512_cmpeq_epi8_mask(b, cr);
        const unsigned char *bytes = s;
        unsigned dropped = 0;
        if (crs & ~(lfs >> 1)) {
            b = _mm512_maskz_compress_epi8(~crs, b);
            _mm512_store_si512(squeezed, b);
            bytes = squeezed;
            dropped = unsigned(std::popcount(crs));
            lfs = _pext_u64(lfs, ~crs);
            text = _pext_u64(text, ~crs);
            quotes = _pext_u64(quotes, ~crs);
        }
        // The second half's places run on from the first's: the first 64 are filled from
        // the block and the rest from where those left off.
        const std::uint64_t lowSlots = byteSlots(std::uint32_t(quotes));
        const std::uint64_t highSlots = byteSlots(std::uint32_t(quotes >> 32));
        const unsigned lowSize = 32 + unsigned(std::popcount(std::uint32_t(quotes)));
        const std::uint64_t firstSlots = lowSlots | highSlots << 32 << (lowSize - 32);
        const std::uint64_t secondSlots = highSlots >> (64 - lowSize);
        const __m512i low = _mm512_mask_expand_epi8(backslashes, firstSlots, b);
        const __m512i high = _mm512_mask_expand_epi8(
            backslashes, secondSlots, _mm512_loadu_si512(bytes + std::popcount(firstSlots)));

        unsigned start = 0; // where the line's bytes in the block start
        for (std::uint64_t ends = lfs; ends; ends &= ends - 1) {
            const auto at = unsigned(_tzcnt_u64(ends));
            const std::uint64_t shown = text & _bzhi_u64(all, at) & ~_bzhi_u64(all, start);
            // A line that ends with no more text drops the blanks written for it.
            if (shown) {
                const unsigned from = inText ? start : unsigned(_tzcnt_u64(shown));
                d = copySpread(low, high, spreadAt(quotes, from),
                               spreadAt(quotes, 64 - unsigned(_lzcnt_u64(shown))), d);
            } else {
                d = keep;
            }
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(d), closing);
            d += SuffixSize + PrefixSize;
            keep = d;
            start = at + 1;
            inText = false;
        }
        // The line going on: its blanks after the last text byte are written too, and
        // `keep` marks where they start.
        const std::uint64_t shown = text & ~_bzhi_u64(all, start);
        if (shown || inText) {
            const unsigned from = inText ? start : unsigned(_tzcnt_u64(shown));
            d = copySpread(low, high, spreadAt(quotes, from), spreadAt(quotes, 64) - dropped, d);
            keep = shown ? d - (_lzcnt_u64(shown) - dropped) : keep;
            inText = true;
        }
    }
    return {s, d, keep, most - due, inText};
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

QUILL_WIDE FeedCount countFeedsWide(const char *p, const char *end)
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

// Every processor with these has LZCNT too, which not every compiler can ask about.
const bool wideAvailable =
    __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
    __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
    __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");

const bool shuffleAvailable = __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
#endif

} // namespace

FeedCount countFeeds(const char *begin, const char *end)
{
#if defined(__x86_64__)
    if (wideAvailable)
        return countFeedsWide(begin, end);
#endif
    const auto *stop =
        static_cast<const char *>(std::memchr(begin, CtrlZ, std::size_t(end - begin)));
    if (stop)
        end = stop;
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
    return {feeds, stop};
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

BlocksSpan convertBlocks(const unsigned char *p, char *o, char *keep, bool inText, qsizetype most)
{
#if defined(__x86_64__)
    if (wideAvailable)
        return convertBlocksWide(p, o, keep, inText, most);
#endif
    return {p, o, keep, 0, inText};
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
