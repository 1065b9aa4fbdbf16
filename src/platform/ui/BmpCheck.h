#pragma once
// The headers of a .bmp file, read and checked against the file before any
// pixel is decoded: every size they declare must fit in the file, so that no
// pixel of a glyph can come from memory the file did not fill.
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// The most pixels one glyph bitmap may declare. Each glyph is cut, made
// clear and greyed pixel by pixel, so this bounds what one button may cost:
// a page full of bitmaps this large still shows in well under a second.
constexpr std::int64_t kMaxGlyphPixels = 512 * 512;

// How the pixels of a checked bitmap are stored.
enum class BmpCoding {
    Indexed, // 1, 2, 4 or 8 bits a pixel, indices into the palette
    Rle8,    // run-length encoded 8-bit indices
    Rle4,    // run-length encoded 4-bit indices
    Rgb24,   // blue, green, red bytes
    Masks,   // 16 or 32 bits a pixel, channels picked out by bit masks
};

struct BmpLayout {
    int width = 0, height = 0;
    bool topDown = false; // rows stored top row first
    int bits = 0;
    BmpCoding coding = BmpCoding::Indexed;
    std::int64_t paletteAt = 0;
    int paletteEntries = 0; // at most 2^bits
    int entrySize = 4;      // 3 in the oldest headers
    std::int64_t pixelsAt = 0;
    std::uint32_t red = 0, green = 0, blue = 0; // masks, for BmpCoding::Masks
    // The bits that may carry alpha, for BmpCoding::Masks: a declared alpha
    // mask, or the top byte that 32-bit pixels without masks leave unused.
    // Whether they do carry it is decided from the pixels (BmpPixels.h).
    std::uint32_t alpha = 0;

    // Bytes one row of uncompressed pixels takes, padded to 4.
    std::int64_t Stride() const { return (std::int64_t{width} * bits + 31) / 32 * 4; }
};

// The layout of a .bmp file whose headers are consistent and whose palette
// and (uncompressed) pixel data lie inside the file. Nothing for sizes zero,
// negative or beyond kMaxGlyphPixels, an unknown header, depth, compression
// or channel mask, a palette declared larger than its depth can index or
// than the file holds, or pixel data shorter than declared. Run-length data
// is checked as it is expanded.
std::optional<BmpLayout> ReadBmpLayout(std::string_view file);

} // namespace platform
