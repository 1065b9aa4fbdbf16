#include "platform/ui/BmpCheck.h"

#include <string_view>

#include "platform/ui/BmpRle.h"

namespace platform {
namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kInfoHeaderSize = 40;
constexpr std::int64_t kCoreHeaderSize = 12;
enum Compression { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

// The file's bytes; every read below is checked against its size first.
using Bytes = std::string_view;

std::int64_t Size(Bytes b) {
    return static_cast<std::int64_t>(b.size());
}

std::int64_t U16(Bytes b, std::int64_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return p[0] | (p[1] << 8);
}

std::int64_t U32(Bytes b, std::int64_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

std::int64_t S32(Bytes b, std::int64_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(U32(b, at)));
}

// What the headers declare, with every size checked against the file.
struct Layout {
    std::int64_t headerSize = 0;
    std::int64_t width = 0, height = 0; // height < 0: top row first
    int bits = 0;
    int compression = kRgb;
    std::int64_t paletteAt = 0, paletteEntries = 0, entrySize = 4;
    std::int64_t pixelsAt = 0;
    std::int64_t stride = 0; // bytes a row of plain pixels takes

    std::int64_t Rows() const { return height < 0 ? -height : height; }
};

bool KnownHeaderSize(std::int64_t size) {
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 ||
           size == 108 || size == 124;
}

bool DepthFitsCompression(int bits, int compression, bool core) {
    const bool depth =
        bits == 1 || bits == 4 || bits == 8 || bits == 24 || (!core && (bits == 16 || bits == 32));
    switch (compression) {
    case kRgb:
        return depth;
    case kRle8:
        return bits == 8;
    case kRle4:
        return bits == 4;
    case kBitFields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

bool ReadHeader(Bytes f, Layout& l) {
    if (Size(f) < kFileHeaderSize + 4 || f[0] != 'B' || f[1] != 'M')
        return false;
    l.headerSize = U32(f, kFileHeaderSize);
    if (!KnownHeaderSize(l.headerSize) || kFileHeaderSize + l.headerSize > Size(f))
        return false;
    const std::int64_t h = kFileHeaderSize;
    const bool core = l.headerSize == kCoreHeaderSize;
    std::int64_t planes = 0, declaredColours = 0;
    if (core) {
        l.width = U16(f, h + 4);
        l.height = U16(f, h + 6);
        planes = U16(f, h + 8);
        l.bits = static_cast<int>(U16(f, h + 10));
        l.entrySize = 3;
    } else {
        l.width = S32(f, h + 4);
        l.height = S32(f, h + 8);
        planes = U16(f, h + 12);
        l.bits = static_cast<int>(U16(f, h + 14));
        l.compression = static_cast<int>(U32(f, h + 16));
        declaredColours = U32(f, h + 32);
    }
    if (planes != 1 || !DepthFitsCompression(l.bits, l.compression, core))
        return false;
    if (l.width <= 0 || l.height == 0 || (l.compression != kRgb && l.height < 0))
        return false;
    if (l.width * l.Rows() > kMaxGlyphPixels)
        return false;
    // A 40-byte header is followed by its three colour masks.
    const std::int64_t masks =
        l.headerSize == kInfoHeaderSize && l.compression == kBitFields ? 12 : 0;
    l.paletteAt = kFileHeaderSize + l.headerSize + masks;
    // Deeper bitmaps may list colours too, but nothing reads them.
    if (l.bits <= 8) {
        const std::int64_t most = std::int64_t{1} << l.bits;
        if (declaredColours > most)
            return false;
        l.paletteEntries = declaredColours != 0 ? declaredColours : most;
    }
    l.stride = (l.width * l.bits + 31) / 32 * 4;
    return true;
}

bool PlacePixels(Bytes f, Layout& l) {
    const std::int64_t paletteEnd = l.paletteAt + l.paletteEntries * l.entrySize;
    if (paletteEnd > Size(f))
        return false;
    const std::int64_t offset = U32(f, 10);
    // An offset of 0 means the pixels follow the palette.
    l.pixelsAt = offset == 0 ? paletteEnd : offset;
    if (l.pixelsAt < paletteEnd || l.pixelsAt > Size(f))
        return false;
    if (l.compression == kRle4 || l.compression == kRle8)
        return true; // the runs are checked as they are expanded
    return l.pixelsAt + l.stride * l.Rows() <= Size(f);
}

void PutU16(QByteArray& b, std::uint32_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(QByteArray& b, std::uint32_t v) {
    PutU16(b, v & 0xFFFF);
    PutU16(b, v >> 16);
}

// A plain 8-bit bitmap of the runs' pixels, under the file's own palette.
std::optional<QByteArray> ExpandedFile(Bytes f, const Layout& l) {
    const int width = static_cast<int>(l.width), rows = static_cast<int>(l.Rows());
    const int stride = (width + 3) / 4 * 4;
    const Bytes runs = f.substr(static_cast<std::size_t>(l.pixelsAt));
    const auto pixels = ExpandRle(runs, l.bits, width, rows, stride);
    if (!pixels)
        return std::nullopt;
    const std::int64_t paletteBytes = l.paletteEntries * 4;
    const std::int64_t pixelsAt = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
    QByteArray out;
    out.reserve(pixelsAt + static_cast<std::int64_t>(pixels->size()));
    out.append("BM");
    PutU32(out, static_cast<std::uint32_t>(pixelsAt + pixels->size()));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(pixelsAt));
    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(rows));
    PutU16(out, 1);
    PutU16(out, 8);
    PutU32(out, kRgb);
    PutU32(out, static_cast<std::uint32_t>(pixels->size()));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(l.paletteEntries));
    PutU32(out, 0);
    out.append(f.data() + l.paletteAt, paletteBytes);
    out.append(reinterpret_cast<const char*>(pixels->data()),
               static_cast<qsizetype>(pixels->size()));
    return out;
}

} // namespace

std::optional<QByteArray> CheckedBitmapBytes(const QByteArray& file) {
    const Bytes bytes(file.constData(), static_cast<std::size_t>(file.size()));
    Layout layout;
    if (!ReadHeader(bytes, layout) || !PlacePixels(bytes, layout))
        return std::nullopt;
    if (layout.compression == kRle4 || layout.compression == kRle8)
        return ExpandedFile(bytes, layout);
    return file;
}

} // namespace platform
