#pragma once
// The block walk the file searches share: which blocks are read, in which
// order, and what the progress is told before each.
#include <cstdint>
#include <string_view>

#include "extract/FileScan.h"
#include "extract/PatternFind.h"

// Searches a file of `size` bytes from the 1-based `start` in blocks of
// SearchBlockSize bytes. Consecutive full blocks overlap by the pattern's
// length less one, so a match cut by a block's end is found in the next.
// `fetch(blockStart, bytes)` points `bytes` at up to SearchBlockSize bytes of
// the file from the 0-based `blockStart` and returns how many (0 at the end).
// The result is the 1-based position of the first match, or 0.
template <class Fetch>
std::int64_t ScanBlocks(std::int64_t start, std::int64_t size, std::string_view pattern,
                        bool caseSensitive, const SearchProgress& progress, Fetch&& fetch) {
    const auto overlap = static_cast<std::int64_t>(pattern.size()) - 1;
    std::int64_t blockStart = start - 1;
    for (;;) {
        if (progress)
            progress(blockStart, size);
        const unsigned char* bytes = nullptr;
        const std::int64_t n = fetch(blockStart, bytes);
        const std::ptrdiff_t at =
            FindPattern(bytes, static_cast<std::size_t>(n), pattern, caseSensitive);
        if (at >= 0)
            return blockStart + at + 1;
        std::int64_t next = blockStart + n;
        if (n == SearchBlockSize && overlap > 0)
            next -= overlap;
        if (n == 0 || next == size)
            return 0;
        blockStart = next;
    }
}
