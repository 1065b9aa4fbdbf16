#include "extract/DibFile.h"

#include "platform/LittleEndian.h"

using platform::AppendLe32;
using platform::ReadLe16;
using platform::ReadLe32;

namespace {

// Compression values that change where the pixels start.
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int64_t kFileHeaderSize = 14;

// Bytes between the start of the information header and the pixels.
bool PixelOffset(const std::string& dib, DibFile& file, std::int64_t& offset,
                 std::string& problem) {
    const std::uint32_t headerSize = ReadLe32(dib, 0);
    if (headerSize == kCoreHeaderSize) {
        // The old header: 16-bit sizes, and colour entries of three bytes.
        file.width = static_cast<std::int32_t>(ReadLe16(dib, 4));
        file.height = static_cast<std::int32_t>(ReadLe16(dib, 6));
        file.bitCount = static_cast<int>(ReadLe16(dib, 10));
        offset = headerSize + (file.bitCount <= 8 ? (std::int64_t{1} << file.bitCount) * 3 : 0);
        return true;
    }
    if (headerSize < kInfoHeaderSize || headerSize > dib.size()) {
        problem = "an information header of " + std::to_string(headerSize) + " bytes";
        return false;
    }
    file.width = static_cast<std::int32_t>(ReadLe32(dib, 4));
    file.height = static_cast<std::int32_t>(ReadLe32(dib, 8));
    file.bitCount = static_cast<int>(ReadLe16(dib, 14));
    const std::uint32_t compression = ReadLe32(dib, 16);
    const std::uint32_t colorsUsed = ReadLe32(dib, 32);
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
    file.bytes = "BM";
    AppendLe32(file.bytes, static_cast<std::uint32_t>(kFileHeaderSize + size));
    AppendLe32(file.bytes, 0); // the two reserved words
    AppendLe32(file.bytes, static_cast<std::uint32_t>(kFileHeaderSize + offset));
    file.bytes += dib;
    return true;
}
