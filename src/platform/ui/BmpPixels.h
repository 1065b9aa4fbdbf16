#pragma once
// The pixels of a checked .bmp file turned into a picture.
#include <QImage>
#include <optional>
#include <string_view>

#include "platform/ui/BmpCheck.h"

namespace platform {

// The colour of a palette index that the file's palette does not reach.
constexpr QRgb kMissingPaletteColour = 0xFF000000; // black

// The picture of a file whose layout ReadBmpLayout gave. Palette bitmaps
// become 8-bit indexed pictures under the file's palette, filled up to the
// depth's full size with kMissingPaletteColour; every other depth becomes
// 32-bit RGB, 5- and 6-bit channels widened by repeating their top bits. A
// 16- or 32-bit bitmap whose alpha bits carry alpha becomes 32-bit ARGB
// (the rule is stated where it is decided); every other picture has no
// alpha channel, and a glyph's clear colour is then its bottom-left pixel.
// Nothing when run-length data is cut short or broken.
std::optional<QImage> DecodeBmpPixels(std::string_view file, const BmpLayout& layout);

} // namespace platform
