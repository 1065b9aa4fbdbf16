#include "extract/DibFile.h"

namespace {

// Compression values that change where the pixels start.
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int64_t kFileHeaderSize = 14;

std::uint32_t Little(const std::string& s, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

void PutLittle(std::string& s, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i) & 0xFF);
}

// Bytes between the start of the information header and the pixels.
bool PixelOffset(const std::string& dib, DibFile& file, std::int64_t& offset,
                 std::string& problem) {
    const std::uint32_t headerSize = Little(dib, 0, 4);
    if (headerSize == kCoreHeaderSize) {
        // The old header: 16-bit sizes, and colour entries of three bytes.
        file.width = static_cast<std::int32_t>(Little(dib, 4, 2));
        file.height = static_cast<std::int32_t>(Little(dib, 6, 2));
        file.bitCount = static_cast<int>(Little(dib, 10, 2));
        offset = headerSize + (file.bitCount <= 8 ? (std::int64_t{1} << file.bitCount) * 3 : 0);
        return true;
    }
    if (headerSize < kInfoHeaderSize || headerSize > dib.size()) {
        problem = "an information header of " + std::to_string(headerSize) + " bytes";
        return false;
    }
    file.width = static_cast<std::int32_t>(Little(dib, 4, 4));
    file.height = static_cast<std::int32_t>(Little(dib, 8, 4));
    file.bitCount = static_cast<int>(Little(dib, 14, 2));
    const std::uint32_t compression = Little(dib, 16, 4);
    const std::uint32_t colorsUsed = Little(dib, 32, 4);
    // The masks follow only the 40-byte header; the larger ones hold them.
    std::int64_t masks = 0;
    if (headerSize == kInfoHeaderSize && compression == kBitFields)
        masks = 12;
    if (headerSize == kInfoHeaderSize && compression == kAlphaBitFields)
        masks = 16;
    std::int64_t colors = colorsUsed;
    if (colors == 0 && file.bitCount >= 1 && file.bitCount <= 8)
        colors = std::int64_t{1} << file.bitCount;
    offset = headerSize + masks + colors * 4;
    return true;
}

} // namespace

bool MakeBitmapFile(const std::string& dib, DibFile& file, std::string& problem) {
    if (dib.size() < 16) {
        problem = "only " + std::to_string(dib.size()) + " bytes";
        return false;
    }
    std::int64_t offset = 0;
    if (!PixelOffset(dib, file, offset, problem))
        return false;
    const auto size = static_cast<std::int64_t>(dib.size());
    if (offset > size) {
        problem = "its colour table reaches past its " + std::to_string(size) + " bytes";
        return false;
    }
    if (size > 0xFFFFFFFFLL - kFileHeaderSize) {
        problem = "too large for a bitmap file";
        return false;
    }
    file.bytes.assign(static_cast<std::size_t>(kFileHeaderSize), '\0');
    file.bytes[0] = 'B';
    file.bytes[1] = 'M';
    PutLittle(file.bytes, 2, static_cast<std::uint32_t>(kFileHeaderSize + size));
    PutLittle(file.bytes, 10, static_cast<std::uint32_t>(kFileHeaderSize + offset));
    file.bytes += dib;
    return true;
}
