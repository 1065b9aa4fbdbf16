#include "extract/PngWalk.h"

#include <algorithm>
#include <array>
#include <vector>
#include <zlib.h>

namespace {

// Chunk lengths are 31-bit: a larger one is damage, not a chunk.
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFFu;
constexpr std::int64_t kPiece = 64 * 1024;
constexpr std::uint32_t kHeaderLength = 13;

std::uint32_t BigEndian32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) << 24 | static_cast<std::uint32_t>(at[1]) << 16 |
           static_cast<std::uint32_t>(at[2]) << 8 | at[3];
}

bool IsChunkType(const unsigned char* type) {
    return std::all_of(type, type + 4, [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

int Channels(int colorType) {
    switch (colorType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

PngExtent Failing(PngVerdict verdict, std::string problem) {
    PngExtent e;
    e.verdict = verdict;
    e.problem = std::move(problem);
    return e;
}

// The checksum of a chunk's type and data, read a piece at a time; false
// when the file ends first. The first bytes of the data are kept in `head`.
bool ChunkChecksum(const ReadAt& read, std::int64_t dataAt, std::uint32_t length,
                   const unsigned char* type, std::array<unsigned char, kHeaderLength>& head,
                   uLong& crc) {
    crc = crc32(crc32(0L, Z_NULL, 0), type, 4);
    std::vector<unsigned char> piece(
        static_cast<std::size_t>(std::min<std::int64_t>(length, kPiece)));
    for (std::int64_t done = 0; done < length;) {
        const std::int64_t want = std::min<std::int64_t>(kPiece, length - done);
        if (read(dataAt + done, piece.data(), want) != want)
            return false;
        if (done == 0)
            std::copy_n(piece.begin(), std::min<std::int64_t>(want, kHeaderLength), head.begin());
        crc = crc32(crc, piece.data(), static_cast<uInt>(want));
        done += want;
    }
    return true;
}

} // namespace

PngExtent WalkPng(const ReadAt& read, std::int64_t offset, std::int64_t fileSize) {
    PngExtent extent;
    std::int64_t at = offset + static_cast<std::int64_t>(PngSignature.size());
    for (bool first = true;; first = false) {
        unsigned char frame[8];
        if (at > fileSize - 8 || read(at, frame, 8) != 8)
            return Failing(PngVerdict::Cut, "the file ends inside it");
        const std::uint32_t length = BigEndian32(frame);
        const unsigned char* type = frame + 4;
        const std::string typeName(reinterpret_cast<const char*>(type), 4);
        if (length > kMaxChunkLength)
            return Failing(PngVerdict::Broken,
                           "a chunk claims " + std::to_string(length) + " bytes");
        if (!IsChunkType(type))
            return Failing(PngVerdict::Broken, "a chunk has no type");
        if (first != (typeName == "IHDR") || (first && length != kHeaderLength))
            return Failing(PngVerdict::Broken, "it does not begin with its header chunk");
        // Length and checksum after the data: the whole chunk must lie in the file.
        if (length > fileSize - at - 12)
            return Failing(PngVerdict::Cut, "the file ends inside its " + typeName + " chunk");
        std::array<unsigned char, kHeaderLength> head{};
        uLong crc = 0;
        unsigned char stored[4];
        if (!ChunkChecksum(read, at + 8, length, type, head, crc) ||
            read(at + 8 + length, stored, 4) != 4)
            return Failing(PngVerdict::Cut, "the file ends inside its " + typeName + " chunk");
        if (BigEndian32(stored) != static_cast<std::uint32_t>(crc))
            return Failing(PngVerdict::Broken, "its " + typeName + " chunk fails its checksum");
        if (first) {
            extent.width = static_cast<std::int32_t>(BigEndian32(head.data()));
            extent.height = static_cast<std::int32_t>(BigEndian32(head.data() + 4));
            extent.bitCount = head[8] * Channels(head[9]);
        }
        at += 12 + static_cast<std::int64_t>(length);
        if (typeName == "IEND") {
            extent.verdict = PngVerdict::Whole;
            extent.size = at - offset;
            return extent;
        }
    }
}
