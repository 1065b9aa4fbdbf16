#include "extract/BitmapHeaderRule.h"

#include <algorithm>
#include <array>

#include "platform/LittleEndian.h"

using platform::ReadLe16;
using platform::ReadLe32;

namespace {

constexpr std::int64_t kFileHeader = 14;
constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kOs2Header = 64;
// The sides a glyph, a wizard picture or a splash screen may have.
constexpr std::int64_t kMaxSide = 32768;

enum Compression : std::uint32_t {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    AlphaBitFields = 6,
};

bool KnownHeaderSize(std::uint32_t size, bool everyHeader) {
    constexpr std::array<std::uint32_t, 7> sizes = {12, 40, 52, 56, 64, 108, 124};
    return everyHeader ? std::find(sizes.begin(), sizes.end(), size) != sizes.end()
                       : size == kInfoHeader;
}

bool KnownDepth(std::uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Depth and compression as one pair: run lengths only of 8 or 4 bits, colour
// masks only of 16 or 32, and the 64-byte header's own meanings of 3 and up
// (Huffman, 24-bit runs) never.
bool KnownCompression(std::uint32_t headerSize, std::uint32_t bits, std::uint32_t compression) {
    switch (compression) {
    case Rgb:
        return true;
    case Rle8:
        return bits == 8;
    case Rle4:
        return bits == 4;
    case BitFields:
    case AlphaBitFields:
        return headerSize != kOs2Header && (bits == 16 || bits == 32);
    default:
        return false;
    }
}

// The fields of either kind of information header, widened.
struct Dib {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: stored top down
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = Rgb;
    std::int64_t imageSize = 0;
    std::int64_t colorsUsed = 0;
};

Dib ReadDib(const unsigned char* info, std::uint32_t headerSize) {
    Dib d;
    d.headerSize = headerSize;
    if (headerSize == kCoreHeader) {
        d.width = ReadLe16(info + 4);
        d.height = ReadLe16(info + 6);
        d.planes = ReadLe16(info + 8);
        d.bits = ReadLe16(info + 10);
        return d;
    }
    d.width = static_cast<std::int32_t>(ReadLe32(info + 4));
    d.height = static_cast<std::int32_t>(ReadLe32(info + 8));
    d.planes = ReadLe16(info + 12);
    d.bits = ReadLe16(info + 14);
    d.compression = ReadLe32(info + 16);
    d.imageSize = ReadLe32(info + 20);
    d.colorsUsed = ReadLe32(info + 32);
    return d;
}

bool AgreesWithItself(const Dib& d) {
    if (d.planes != 1 || !KnownDepth(d.bits))
        return false;
    if (d.headerSize == kCoreHeader && d.bits != 1 && d.bits != 4 && d.bits != 8 && d.bits != 24)
        return false;
    if (!KnownCompression(d.headerSize, d.bits, d.compression))
        return false;
    const std::int64_t side = d.height < 0 ? -d.height : d.height;
    if (d.width < 1 || d.width > kMaxSide || side < 1 || side > kMaxSide)
        return false;
    // Runs are decoded bottom up only.
    if (d.height < 0 && (d.compression == Rle8 || d.compression == Rle4))
        return false;
    return d.bits > 8 || d.colorsUsed <= (std::int64_t{1} << d.bits);
}

// Whether the pixels fit between the offset and the declared size.
bool PixelsFit(const Dib& d, std::int64_t pixelOffset, std::int64_t declared) {
    if (pixelOffset < kFileHeader + d.headerSize || pixelOffset > declared)
        return false;
    if (d.compression == Rle8 || d.compression == Rle4)
        return pixelOffset < declared && d.imageSize <= declared - pixelOffset;
    const std::int64_t row = (d.width * d.bits + 31) / 32 * 4;
    const std::int64_t side = d.height < 0 ? -d.height : d.height;
    return row * side <= declared - pixelOffset;
}

} // namespace

HeaderVerdict JudgeBitmapHeaders(const unsigned char* at, std::size_t available,
                                 std::int64_t remaining, const CarveRules& rules) {
    if (static_cast<std::int64_t>(available) < kFileHeader + 4 || at[0] != 'B' || at[1] != 'M')
        return HeaderVerdict::NotABitmap;
    const std::int64_t declared = ReadLe32(at + 2);
    const std::uint32_t headerSize = ReadLe32(at + 14);
    if (ReadLe16(at + 6) != 0 || ReadLe16(at + 8) != 0 ||
        !KnownHeaderSize(headerSize, rules.everyHeader) ||
        static_cast<std::int64_t>(available) < kFileHeader + headerSize)
        return HeaderVerdict::NotABitmap;
    // A declared size is signed to the window; past 2 GiB it is no bitmap.
    if (declared > INT32_MAX || (!rules.anySize && declared > MaxBitmapSize))
        return HeaderVerdict::NotABitmap;
    const Dib dib = ReadDib(at + kFileHeader, headerSize);
    if (!AgreesWithItself(dib) || !PixelsFit(dib, ReadLe32(at + 10), declared))
        return HeaderVerdict::NotABitmap;
    return declared <= remaining ? HeaderVerdict::Bitmap : HeaderVerdict::RunsPastEnd;
}

bool PassesWindowTests(const unsigned char* at, std::size_t available) {
    return available >= kFileHeader + kInfoHeader && ReadLe16(at + 6) == 0 &&
           ReadLe16(at + 8) == 0 && ReadLe32(at + 14) == kInfoHeader && ReadLe16(at + 26) == 1;
}

bool WindowTakes(const unsigned char* at, std::size_t available) {
    if (!PassesWindowTests(at, available))
        return false;
    const auto declared = static_cast<std::int32_t>(ReadLe32(at + 2));
    return declared > 0 && declared <= MaxBitmapSize;
}
