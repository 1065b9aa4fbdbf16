#pragma once
// Run-length encoded bitmap pixels (4 or 8 bits a pixel) expanded to plain
// rows of one byte a pixel.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

// The pixels of a width x height bitmap, bottom row first, each row `stride`
// bytes, from the runs in `data`. Pixels the runs skip (line ends, deltas,
// an early end of bitmap) are 0. Nothing when the runs stop before the end
// of the bitmap is marked or the top row is passed (a file cut short), or
// when they put a pixel past the end of a row or above the top row.
std::optional<std::vector<std::uint8_t>> ExpandRle(std::string_view data, int bitsPerPixel,
                                                   int width, int height, int stride);

} // namespace platform
