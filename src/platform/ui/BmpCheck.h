#pragma once
// A .bmp file checked before the image reader sees it. The reader decodes a
// file whose pixel data stops short of what its header declares and leaves
// the missing rows as whatever the memory held, so every size the header
// declares is checked against the file here first.
#include <QByteArray>
#include <cstdint>
#include <optional>

namespace platform {

// The most pixels one glyph bitmap may declare. Each glyph is cut, made
// clear and greyed pixel by pixel, so this bounds what one button may cost:
// a page full of bitmaps this large still shows in well under a second.
constexpr std::int64_t kMaxGlyphPixels = 512 * 512;

// The bytes of a .bmp file made ready for the image reader: the same bytes
// when the file is sound and uncompressed, a plain 8-bit bitmap when its
// pixels are run-length encoded (so that pixels the runs skip are colour 0,
// not left unset). Nothing when the header is inconsistent (sizes zero,
// negative or beyond kMaxGlyphPixels, an unknown depth or compression, the
// palette past the end) or the pixel data is shorter than declared.
std::optional<QByteArray> CheckedBitmapBytes(const QByteArray& file);

} // namespace platform
