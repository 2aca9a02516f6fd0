// The kernels every implementation builds alike from its own block steps. Included once
// by each implementation, inside its namespace and target region, after it has defined:
//   Classes classify(const unsigned char *s);  // the classes of the block at `s`
//   class Spread;  // Spread(bytes, quotes) of a block; copy(from, to, o) writes its
//                  // bytes [from, to), a backslash before each quote, at `o` and returns
//                  // the end, writing at most a block beyond it
// so it has no include guard and includes nothing.

// The suffix and the prefix written over an LF; returns the end.
inline char *close(char *o)
{
    std::memcpy(o, Closing.data(), Closing.size());
    return o + SuffixSize + PrefixSize;
}

[[maybe_unused]] const unsigned char *skipBlanks(const unsigned char *p)
{
    for (;; p += RunBits) {
        const Classes c = classify(p);
        if (const std::uint64_t stops = c.text | c.lfs | c.ctrlZs)
            return p + firstBit(stops);
    }
}

[[maybe_unused]] LineSpan convertLine(const unsigned char *p, char *o, bool skip)
{
    if (skip)
        p = skipBlanks(p);
    for (;; p += RunBits) {
        const Classes c = classify(p);
        const std::uint64_t ends = c.crs | c.lfs | c.ctrlZs;
        const unsigned count = firstBit(ends);
        o = Spread(p, c.quotes).copy(0, count, o);
        if (ends)
            return {p + count, o};
    }
}

// Without CRs, the bytes a line keeps in a block run from its first text byte to its last
// (to the block's end when it goes on), so each line is one piece of the block, copied
// out with its backslashes, the suffix and prefix written after it.
BlocksSpan convertBlocks(const unsigned char *s, char *d, char *keep, bool inText, qsizetype most)
{
    qsizetype due = most; // the lines that may still end
    alignas(64) unsigned char squeezed[2 * RunBits] = {};
    for (;; s += RunBits) {
        Classes c = classify(s);
        const int feeds = std::popcount(c.lfs);
        if (c.ctrlZs || feeds > due)
            break;
        due -= feeds;
        // A CR just before an LF lies among the bytes the line drops anyway. Where one
        // stands elsewhere, the block's CRs are dropped first and the rest taken as a
        // shorter block, followed by bytes that are neither text nor line ends.
        const unsigned char *bytes = s;
        unsigned dropped = 0;
        if (c.crs & ~(c.lfs >> 1)) {
            bytes = dropCrs(s, c.crs, squeezed);
            dropped = unsigned(std::popcount(c.crs));
            c = classify(bytes);
        }
        const Spread spread(bytes, c.quotes);

        std::uint64_t after = ~std::uint64_t(0); // the bytes after the last LF passed
        for (std::uint64_t ends = c.lfs; ends; ends &= ends - 1) {
            const std::uint64_t upto = ends ^ (ends - 1); // the bytes up to this LF
            const std::uint64_t shown = c.text & upto & after;
            // A line that ends with no more text drops the blanks written for it; one that
            // had text before the block is the block's first and takes it from byte 0.
            if (shown)
                d = spread.copy(inText ? 0 : firstBit(shown), pastLastBit(shown), d);
            else
                d = keep;
            d = close(d);
            keep = d;
            after = ~upto;
            inText = false;
        }
        // The line going on: its blanks after the last text byte are written too, and
        // `keep` marks where they start.
        const std::uint64_t shown = c.text & after;
        if (shown || inText) {
            d = spread.copy(inText ? 0 : firstBit(shown), RunBits - dropped, d);
            if (shown)
                keep = d - (RunBits - dropped - pastLastBit(shown));
            inText = true;
        }
    }
    return {s, d, keep, most - due, inText};
}
