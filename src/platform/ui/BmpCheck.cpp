#include "platform/ui/BmpCheck.h"

#include <bit>

#include "platform/LittleEndian.h"

namespace platform {
namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kMasksAt = kFileHeaderSize + 40; // after a 40-byte header
constexpr std::int64_t kHeaderWithAlphaMask = 56;
enum Compression { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// The three families of headers: the oldest with 16-bit sizes and 3-byte
// palette entries, the later OS/2 ones (16 or 64 bytes, their own
// compression numbers beyond run-length), and the Windows ones.
enum class Family { Core, Os2, Windows };

// The file's bytes; every read below is checked against its size first.
using Bytes = std::string_view;

std::int64_t Size(Bytes b) {
    return static_cast<std::int64_t>(b.size());
}

const unsigned char* At(Bytes b, std::int64_t at) {
    return reinterpret_cast<const unsigned char*>(b.data()) + at;
}

std::int64_t U16(Bytes b, std::int64_t at) {
    return ReadLe16(At(b, at));
}

std::int64_t U32(Bytes b, std::int64_t at) {
    return ReadLe32(At(b, at));
}

std::int64_t S32(Bytes b, std::int64_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(U32(b, at)));
}

std::optional<Family> FamilyOf(std::int64_t headerSize) {
    switch (headerSize) {
    case 12:
        return Family::Core;
    case 16:
    case 64:
        return Family::Os2;
    case 40:
    case 52:
    case 56:
    case 108:
    case 124:
        return Family::Windows;
    default:
        return std::nullopt;
    }
}

// What the info header declares, before it is checked.
struct Declared {
    std::int64_t headerSize = 0, width = 0, height = 0, planes = 0, bits = 0;
    std::int64_t compression = kRgb, colours = 0; // 0 colours: as many as the depth has
    Family family = Family::Windows;
};

std::optional<Declared> ReadDeclared(Bytes f) {
    if (Size(f) < kFileHeaderSize + 4 || f[0] != 'B' || f[1] != 'M')
        return std::nullopt;
    Declared d;
    const std::int64_t h = kFileHeaderSize;
    d.headerSize = U32(f, h);
    const auto family = FamilyOf(d.headerSize);
    if (!family || h + d.headerSize > Size(f))
        return std::nullopt;
    d.family = *family;
    if (d.family == Family::Core) {
        d.width = U16(f, h + 4);
        d.height = U16(f, h + 6);
        d.planes = U16(f, h + 8);
        d.bits = U16(f, h + 10);
        return d;
    }
    d.width = S32(f, h + 4);
    d.height = S32(f, h + 8);
    d.planes = U16(f, h + 12);
    d.bits = U16(f, h + 14);
    // The short OS/2 header ends here; what it leaves out is 0.
    if (d.headerSize >= 40) {
        d.compression = U32(f, h + 16);
        d.colours = U32(f, h + 32);
    }
    return d;
}

std::optional<BmpCoding> CodingOf(const Declared& d) {
    const std::int64_t b = d.bits;
    const bool core = d.family == Family::Core;
    switch (d.compression) {
    case kRgb:
        if (b == 1 || b == 4 || b == 8 || (b == 2 && !core))
            return BmpCoding::Indexed;
        if (b == 24)
            return BmpCoding::Rgb24;
        if ((b == 16 || b == 32) && !core)
            return BmpCoding::Masks;
        return std::nullopt;
    case kRle8:
        return b == 8 && !core ? std::optional(BmpCoding::Rle8) : std::nullopt;
    case kRle4:
        return b == 4 && !core ? std::optional(BmpCoding::Rle4) : std::nullopt;
    case kBitFields:
    case kAlphaBitFields: // OS/2 headers use these numbers for other codings
        if ((b == 16 || b == 32) && d.family == Family::Windows)
            return BmpCoding::Masks;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// A mask picks out one channel: some bits in a row, all within the pixel.
bool SoundMask(std::uint32_t mask, int bits) {
    if (mask == 0 || (bits == 16 && mask > 0xFFFF))
        return false;
    const std::uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

// An alpha mask that is not one run of bits within the pixel, or that
// shares bits with a colour, carries no alpha we could read: the pixels are
// still sound, so the bitmap is drawn as one without alpha.
std::uint32_t SoundAlphaMask(std::uint32_t mask, const BmpLayout& l) {
    const bool apart = (mask & (l.red | l.green | l.blue)) == 0;
    return SoundMask(mask, l.bits) && apart ? mask : 0;
}

// Reads the channel masks of a 16- or 32-bit bitmap; returns where the
// palette starts, after masks that follow a 40-byte header.
std::optional<std::int64_t> ReadMasks(Bytes f, const Declared& d, BmpLayout& l) {
    const std::int64_t afterHeader = kFileHeaderSize + d.headerSize;
    if (d.compression == kRgb) {
        l.red = l.bits == 16 ? 0x7C00 : 0xFF0000;
        l.green = l.bits == 16 ? 0x03E0 : 0x00FF00;
        l.blue = l.bits == 16 ? 0x001F : 0x0000FF;
        l.alpha = l.bits == 32 ? 0xFF000000 : 0;
        return afterHeader;
    }
    const bool trailing = d.headerSize == 40;
    const bool alphaTrails = trailing && d.compression == kAlphaBitFields;
    const std::int64_t at = kMasksAt;
    const std::int64_t end = trailing ? at + (alphaTrails ? 16 : 12) : afterHeader;
    if (at + 12 > Size(f) || end > Size(f))
        return std::nullopt;
    l.red = static_cast<std::uint32_t>(U32(f, at));
    l.green = static_cast<std::uint32_t>(U32(f, at + 4));
    l.blue = static_cast<std::uint32_t>(U32(f, at + 8));
    if (!SoundMask(l.red, l.bits) || !SoundMask(l.green, l.bits) || !SoundMask(l.blue, l.bits))
        return std::nullopt;
    // The alpha mask follows the colour masks where the header has room for
    // it (56 bytes and more) or the coding adds it behind a 40-byte header.
    if (alphaTrails || d.headerSize >= kHeaderWithAlphaMask)
        l.alpha = SoundAlphaMask(static_cast<std::uint32_t>(U32(f, at + 12)), l);
    return end;
}

bool CheckSizes(const Declared& d, BmpCoding coding) {
    if (d.planes != 1 || d.width <= 0 || d.height == 0)
        return false;
    // Run-length rows run bottom up only.
    const bool rle = coding == BmpCoding::Rle4 || coding == BmpCoding::Rle8;
    if (rle && d.height < 0)
        return false;
    const std::int64_t rows = d.height < 0 ? -d.height : d.height;
    return d.width * rows <= kMaxGlyphPixels;
}

// Places the palette and the pixels. A declared colour count must fit
// before the pixels; without one (the oldest headers have none) the palette
// is as long as the depth allows, but no longer than the room the pixel
// offset leaves for it.
bool PlacePixels(Bytes f, const Declared& d, BmpLayout& l) {
    const std::int64_t offset = U32(f, 10); // 0: the pixels follow the palette
    if (offset > Size(f))
        return false;
    std::int64_t entries = 0;
    if (l.bits <= 8) {
        const std::int64_t most = std::int64_t{1} << l.bits;
        if (d.colours > most)
            return false;
        entries = d.colours != 0 ? d.colours : most;
        if (d.colours == 0 && offset >= l.paletteAt)
            entries = std::min(entries, (offset - l.paletteAt) / l.entrySize);
    }
    const std::int64_t paletteEnd = l.paletteAt + entries * l.entrySize;
    l.paletteEntries = static_cast<int>(entries);
    l.pixelsAt = offset == 0 ? paletteEnd : offset;
    if (paletteEnd > Size(f) || l.pixelsAt < paletteEnd)
        return false;
    if (l.coding == BmpCoding::Rle4 || l.coding == BmpCoding::Rle8)
        return true; // the runs are checked as they are expanded
    return l.pixelsAt + l.Stride() * l.height <= Size(f);
}

} // namespace

std::optional<BmpLayout> ReadBmpLayout(std::string_view file) {
    const auto declared = ReadDeclared(file);
    if (!declared)
        return std::nullopt;
    const Declared& d = *declared;
    const auto coding = CodingOf(d);
    if (!coding || !CheckSizes(d, *coding))
        return std::nullopt;
    BmpLayout l;
    l.width = static_cast<int>(d.width);
    l.height = static_cast<int>(d.height < 0 ? -d.height : d.height);
    l.topDown = d.height < 0;
    l.bits = static_cast<int>(d.bits);
    l.coding = *coding;
    l.entrySize = d.family == Family::Core ? 3 : 4;
    l.paletteAt = kFileHeaderSize + d.headerSize;
    if (l.coding == BmpCoding::Masks) {
        const auto paletteAt = ReadMasks(file, d, l);
        if (!paletteAt)
            return std::nullopt;
        l.paletteAt = *paletteAt;
    }
    if (!PlacePixels(file, d, l))
        return std::nullopt;
    return l;
}

} // namespace platform
