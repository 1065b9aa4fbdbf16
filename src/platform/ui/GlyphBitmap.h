#pragma once
// A button's glyph: a bitmap loaded from a .bmp file, holding up to four
// images of equal width side by side, drawn with one colour transparent, and
// the greyed, embossed look of a disabled button.
#include <QColor>
#include <QImage>
#include <string>

#include "platform/Failure.h"

namespace platform {

// The bitmap of a .bmp file named by a Windows path. A zero-length file gives
// an empty (null) picture. Raises EFailure when the file cannot be opened or
// read (the text names its full path) and "Bitmap image is not valid" when it
// holds no readable bitmap.
QImage LoadBitmapFromFile(const std::string& winPath);

// The bitmap held in the bytes of a .bmp file; an empty (null) picture for no
// bytes. Raises "Bitmap image is not valid" when they hold no sound bitmap.
// Decoded here rather than by Qt's reader, so that every header kind, depth
// and run-length case gives the same defined pixels (see BmpPixels.h).
QImage DecodeBitmap(const QByteArray& bytes);

// Whether the bitmap carries its own alpha channel (DecodeBitmap decides).
bool HasAlpha(const QImage& bitmap);

// The colour drawn transparent in a bitmap without alpha: its bottom-left
// pixel.
QRgb TransparentColor(const QImage& bitmap);

// Image `index` (0-based) of a bitmap cut into `count` images of equal width:
// with its own alpha where it has one, else with every pixel of the
// transparent colour made clear.
QImage GlyphImage(const QImage& bitmap, int count, int index);

// The disabled look of an image: a light copy of its shape one pixel down
// and right, under a dark copy of the shape. Each copy is as opaque as the
// image is at that pixel, so soft edges stay soft and clear pixels clear.
QImage DisabledImage(const QImage& image, const QColor& light, const QColor& dark);

} // namespace platform
