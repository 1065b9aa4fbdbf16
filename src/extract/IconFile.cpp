#include "extract/IconFile.h"

#include "platform/LittleEndian.h"

using platform::AppendLe16;
using platform::AppendLe32;
using platform::ReadLe16;
using platform::ReadLe32;

namespace {

constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::int64_t kFileEntrySize = 16;
constexpr std::uint32_t kHotSpotSize = 4;
constexpr std::uint16_t kIconFileType = 1;
constexpr std::uint16_t kCursorFileType = 2;

// Whether `image` holds what the entry says, allowing the padding of a unit.
bool SizeAgrees(const std::string& image, std::uint32_t bytesInRes, std::uint32_t unit) {
    return image.size() >= bytesInRes && image.size() - bytesInRes < unit;
}

// An icon's width or height of 0 stands for 256.
std::int32_t IconSide(std::uint16_t side, bool cursor) {
    return !cursor && side == 0 ? 256 : side;
}

void AppendEntry(std::string& s, const IconGroupEntry& e, bool cursor, const std::string& image,
                 std::uint32_t offset) {
    if (cursor) {
        s += static_cast<char>(e.width & 0xFF);
        s += static_cast<char>((e.height / 2) & 0xFF);
        s += std::string(2, '\0');
        s += image.substr(0, kHotSpotSize); // x and y
        AppendLe32(s, e.bytesInRes - kHotSpotSize);
    } else {
        s += static_cast<char>(e.width & 0xFF);
        s += static_cast<char>(e.height & 0xFF);
        s += static_cast<char>(e.colors);
        s += static_cast<char>(e.reserved);
        AppendLe16(s, e.planes);
        AppendLe16(s, e.bitCount);
        AppendLe32(s, e.bytesInRes);
    }
    AppendLe32(s, offset);
}

} // namespace

bool ParseIconGroup(const std::string& data, bool cursor, IconGroup& group, std::string& problem) {
    if (data.size() < kGroupHeaderSize) {
        problem = "only " + std::to_string(data.size()) + " bytes";
        return false;
    }
    const std::size_t count = ReadLe16(data, 4);
    if (count == 0) {
        problem = "it names no image";
        return false;
    }
    if (count * kGroupEntrySize > data.size() - kGroupHeaderSize) {
        problem = "its " + std::to_string(count) + " entries reach past its " +
                  std::to_string(data.size()) + " bytes";
        return false;
    }
    group.cursor = cursor;
    group.entries.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kGroupHeaderSize + i * kGroupEntrySize;
        IconGroupEntry e;
        if (cursor) {
            e.width = ReadLe16(data, at);
            e.height = ReadLe16(data, at + 2);
        } else {
            e.width = static_cast<unsigned char>(data[at]);
            e.height = static_cast<unsigned char>(data[at + 1]);
            e.colors = static_cast<std::uint8_t>(data[at + 2]);
            e.reserved = static_cast<std::uint8_t>(data[at + 3]);
        }
        e.planes = ReadLe16(data, at + 4);
        e.bitCount = ReadLe16(data, at + 6);
        e.bytesInRes = ReadLe32(data, at + 8);
        e.id = ReadLe16(data, at + 12);
        group.entries.push_back(e);
    }
    return true;
}

bool MakeIconFile(const IconGroup& group, const std::vector<std::string>& images,
                  std::uint32_t unit, std::int64_t maxSize, IconFile& file, std::string& problem) {
    const std::size_t n = group.entries.size();
    const std::uint32_t skip = group.cursor ? kHotSpotSize : 0;
    std::int64_t size = kGroupHeaderSize + kFileEntrySize * static_cast<std::int64_t>(n);
    for (std::size_t i = 0; i < n; ++i) {
        const IconGroupEntry& e = group.entries[i];
        const std::string what =
            std::string(group.cursor ? "cursor " : "icon ") + std::to_string(e.id);
        if (!SizeAgrees(images[i], e.bytesInRes, unit)) {
            problem = what + " holds " + std::to_string(images[i].size()) +
                      " bytes where the group says " + std::to_string(e.bytesInRes);
            return false;
        }
        if (e.bytesInRes < skip) {
            problem = what + " is too short to hold its hot spot";
            return false;
        }
        size += e.bytesInRes - skip;
        if (size > maxSize) {
            problem = "its images come to more than " + std::to_string(maxSize) + " bytes";
            return false;
        }
    }
    std::string& s = file.bytes;
    s.clear();
    s.reserve(static_cast<std::size_t>(size));
    AppendLe16(s, 0);
    AppendLe16(s, group.cursor ? kCursorFileType : kIconFileType);
    AppendLe16(s, static_cast<std::uint16_t>(n));
    auto offset = static_cast<std::uint32_t>(kGroupHeaderSize + kFileEntrySize * n);
    for (std::size_t i = 0; i < n; ++i) {
        AppendEntry(s, group.entries[i], group.cursor, images[i], offset);
        offset += group.entries[i].bytesInRes - skip;
    }
    for (std::size_t i = 0; i < n; ++i)
        s.append(images[i], skip, group.entries[i].bytesInRes - skip);
    // The largest image tells what the file shows: most pixels, then most bits.
    std::int64_t bestArea = -1;
    for (const IconGroupEntry& e : group.entries) {
        const std::int32_t w = IconSide(e.width, group.cursor);
        const std::int32_t h = group.cursor ? e.height / 2 : IconSide(e.height, false);
        const std::int64_t area = std::int64_t{w} * h;
        if (area > bestArea || (area == bestArea && e.bitCount > file.bitCount)) {
            bestArea = area;
            file.width = w;
            file.height = h;
            file.bitCount = e.bitCount;
        }
    }
    return true;
}
