#include "platform/ui/BmpPixels.h"

#include <bit>

#include "platform/ui/BmpRle.h"

namespace platform {
namespace {

const unsigned char* At(std::string_view f, std::int64_t at) {
    return reinterpret_cast<const unsigned char*>(f.data()) + at;
}

// The picture's row for the file's row `r`: rows usually run bottom up.
int RowOf(const BmpLayout& l, int r) {
    return l.topDown ? r : l.height - 1 - r;
}

QImage IndexedImage(std::string_view f, const BmpLayout& l) {
    QImage image(l.width, l.height, QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    QList<QRgb> colours(qsizetype{1} << std::min(l.bits, 8), kMissingPaletteColour);
    for (int i = 0; i < l.paletteEntries; ++i) {
        const unsigned char* e = At(f, l.paletteAt + std::int64_t{i} * l.entrySize);
        colours[i] = qRgb(e[2], e[1], e[0]);
    }
    image.setColorTable(colours);
    return image;
}

void ReadIndexedRows(std::string_view f, const BmpLayout& l, QImage& image) {
    const int perByte = 8 / l.bits;
    const int mask = (1 << l.bits) - 1;
    for (int r = 0; r < l.height; ++r) {
        const unsigned char* row = At(f, l.pixelsAt + r * l.Stride());
        uchar* line = image.scanLine(RowOf(l, r));
        for (int x = 0; x < l.width; ++x) {
            const int shift = 8 - l.bits * (x % perByte + 1);
            line[x] = static_cast<uchar>((row[x / perByte] >> shift) & mask);
        }
    }
}

bool ReadRuns(std::string_view f, const BmpLayout& l, QImage& image) {
    const auto pixels = ExpandRle(f.substr(static_cast<std::size_t>(l.pixelsAt)), l.bits, l.width,
                                  l.height, l.width);
    if (!pixels)
        return false;
    for (int r = 0; r < l.height; ++r)
        std::copy_n(pixels->data() + std::size_t(r) * l.width, l.width,
                    image.scanLine(RowOf(l, r)));
    return true;
}

// One channel picked out by its mask and widened to 8 bits: narrower
// channels repeat their bits (5-bit 31 gives 255), wider ones keep their top.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask), shift_(std::countr_zero(mask)), width_(std::popcount(mask)) {}

    int Of(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & mask_) >> shift_;
        if (width_ >= 8)
            return static_cast<int>(v >> (width_ - 8));
        std::uint32_t wide = 0;
        int filled = 0;
        for (; filled < 8; filled += width_)
            wide = (wide << width_) | v;
        return static_cast<int>(wide >> (filled - 8));
    }

private:
    std::uint32_t mask_;
    int shift_, width_;
};

// Reads the pixels with their alpha bits as alpha; true when those bits are
// not 0 in every pixel.
bool ReadMaskedRows(std::string_view f, const BmpLayout& l, QImage& image) {
    const Channel red(l.red), green(l.green), blue(l.blue);
    const std::optional<Channel> alpha = l.alpha ? std::optional<Channel>(l.alpha) : std::nullopt;
    const int bytes = l.bits / 8;
    std::uint32_t alphaSeen = 0;
    for (int r = 0; r < l.height; ++r) {
        const unsigned char* p = At(f, l.pixelsAt + r * l.Stride());
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(RowOf(l, r)));
        for (int x = 0; x < l.width; ++x, p += bytes) {
            std::uint32_t v = p[0] | (p[1] << 8);
            if (bytes == 4)
                v |= (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
            alphaSeen |= v & l.alpha;
            line[x] = qRgba(red.Of(v), green.Of(v), blue.Of(v), alpha ? alpha->Of(v) : 255);
        }
    }
    return alphaSeen != 0;
}

// A picture read with alpha that turned out to have none: every pixel opaque.
QImage Opaque(QImage image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xFF000000;
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

void ReadRgb24Rows(std::string_view f, const BmpLayout& l, QImage& image) {
    for (int r = 0; r < l.height; ++r) {
        const unsigned char* p = At(f, l.pixelsAt + r * l.Stride());
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(RowOf(l, r)));
        for (int x = 0; x < l.width; ++x, p += 3)
            line[x] = qRgb(p[2], p[1], p[0]);
    }
}

} // namespace

std::optional<QImage> DecodeBmpPixels(std::string_view f, const BmpLayout& l) {
    if (l.coding == BmpCoding::Rgb24) {
        QImage image(l.width, l.height, QImage::Format_RGB32);
        if (image.isNull())
            return std::nullopt;
        ReadRgb24Rows(f, l, image);
        return image;
    }
    if (l.coding == BmpCoding::Masks) {
        QImage image(l.width, l.height, QImage::Format_ARGB32);
        if (image.isNull())
            return std::nullopt;
        // A bitmap carries an alpha channel when its alpha bits (a declared
        // alpha mask, or the unused top byte of 32-bit pixels without masks)
        // are not 0 in every pixel; it is then drawn with that alpha. Any
        // other bitmap has the colour of its bottom-left pixel drawn clear.
        // Alpha bits that are 0 throughout were never filled in: taken as
        // alpha they would make the whole glyph vanish.
        if (!ReadMaskedRows(f, l, image))
            return Opaque(std::move(image));
        return image;
    }
    QImage image = IndexedImage(f, l);
    if (image.isNull())
        return std::nullopt;
    if (l.coding == BmpCoding::Indexed)
        ReadIndexedRows(f, l, image);
    else if (!ReadRuns(f, l, image))
        return std::nullopt;
    return image;
}

} // namespace platform
