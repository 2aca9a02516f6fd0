// What the converter's implementations share: the classes of a block's bytes, the
// pieces every implementation uses alike, and the regions that compile an
// implementation's own code for its instruction set only.
#pragma once

#include "tools/html_to_js_blocks.h"

#include <array>
#include <bit>
#include <cstdint>

namespace quill::blocks {

// The classes of a block's RunBlockSize bytes, a bit each, byte i at bit i.
struct Classes {
    std::uint64_t lfs;
    std::uint64_t crs;
    std::uint64_t ctrlZs;
    std::uint64_t text;   // above 32
    std::uint64_t quotes; // a quote, apostrophe or backslash
};

inline constexpr unsigned RunBits = unsigned(RunBlockSize);

// The bits below `n`, all of them from 64 on.
inline std::uint64_t below(unsigned n)
{
    return n >= RunBits ? ~std::uint64_t(0) : (std::uint64_t(1) << n) - 1;
}

inline unsigned firstBit(std::uint64_t bits)
{
    return unsigned(std::countr_zero(bits));
}

// Just past the last bit set.
inline unsigned pastLastBit(std::uint64_t bits)
{
    return RunBits - unsigned(std::countl_zero(bits));
}

// What is written over an LF: the suffix closing its line and the prefix opening the
// next, padded so that it is stored in one piece.
inline constexpr std::array<char, 32> Closing = [] {
    std::array<char, 32> bytes{};
    for (std::size_t i = 0; i < std::size_t(SuffixSize + PrefixSize); ++i)
        bytes[i] = i < std::size_t(SuffixSize) ? LineSuffix[i] : LinePrefix[i - SuffixSize];
    return bytes;
}();

// The quotes, apostrophes, backslashes, CRs and LFs are found with one byte shuffle: no
// two of them share their low four bits, so this table, indexed by those bits, holds the
// one each could be, and a byte is one of them when the shuffle gives it back. The other
// entries hold a byte with other low bits; a shuffle gives zero for a byte of 128 or more.
alignas(16) inline constexpr std::array<char, 16> Specials = {
    1, 0, '"', 2, 3, 4, 5, '\'', 7, 8, '\n', 10, '\\', '\r', 13, 14,
};

// Bytes above 32 are those that adding this, saturating, lifts to 128 or more.
inline constexpr char TextLift = 95;

// A block's classes from the bytes that Specials finds, those above 32, the LFs and the
// Ctrl-Zs: of the specials, those above 32 are quotes and the rest but the LFs CRs.
inline Classes classesOf(std::uint64_t specials, std::uint64_t text, std::uint64_t lfs,
                         std::uint64_t ctrlZs)
{
    return {lfs, specials & ~text & ~lfs, ctrlZs, text, specials & text};
}

// For each pattern of quotes among eight bytes, where each output byte comes from: index
// 8 where a backslash goes (the bytes shuffled hold backslashes from there on), the
// byte's own index where it goes, 0x80 (no byte) after the last.
inline constexpr std::array<std::array<unsigned char, 16>, 256> QuoteExpansions = [] {
    std::array<std::array<unsigned char, 16>, 256> rows{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        std::size_t out = 0;
        for (unsigned char i = 0; i < 8; ++i) {
            if (mask >> i & 1)
                rows[mask][out++] = 8;
            rows[mask][out++] = i;
        }
        while (out < 16)
            rows[mask][out++] = 0x80;
    }
    return rows;
}();

// The block at `s` less the bytes marked in `crs`, written to `into` (two blocks of
// room), zeros after them up to the block's end.
const unsigned char *dropCrs(const unsigned char *s, std::uint64_t crs, unsigned char *into);

// countFeeds of the portable implementation; the others count the rest of a buffer with it.
FeedCount countFeedsPortable(const char *begin, const char *end);

extern const Implementation portable;
#if defined(__x86_64__)
extern const Implementation ssse3;
extern const Implementation avx2;
extern const Implementation avx512;
#endif

} // namespace quill::blocks

// Between these, every function defined is compiled for the instruction sets named, and
// runs only where the implementation's `supported` says so. Headers are included before
// the region, so that what they define stays runnable everywhere.
#define QUILL_PRAGMA(...) _Pragma(#__VA_ARGS__)
#if defined(__clang__)
#define QUILL_BEGIN_TARGET(targets)                                                                \
    QUILL_PRAGMA(clang attribute push(__attribute__((target(targets))), apply_to = function))
#define QUILL_END_TARGET QUILL_PRAGMA(clang attribute pop)
#else
#define QUILL_BEGIN_TARGET(targets) QUILL_PRAGMA(GCC push_options) QUILL_PRAGMA(GCC target(targets))
#define QUILL_END_TARGET QUILL_PRAGMA(GCC pop_options)
#endif
