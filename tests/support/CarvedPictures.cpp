#include "CarvedPictures.h"

#include <zlib.h>

namespace testsupport {

namespace {

std::string BigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF),
            static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}

// Bytes from 'c' to 'z': never 'B', 'M' or the signature's first byte.
std::string Seeded(std::size_t n, unsigned seed) {
    std::string s(n, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (char& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>('c' + (x >> 16) % 24);
    }
    return s;
}

} // namespace

void PutLe16(std::string& s, std::size_t at, std::uint32_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}

void PutLe32(std::string& s, std::size_t at, std::uint32_t v) {
    PutLe16(s, at, v & 0xFFFF);
    PutLe16(s, at + 2, v >> 16);
}

std::string SoundBitmap(std::uint32_t headerSize, std::uint32_t bits, std::uint32_t width,
                        std::uint32_t height, unsigned seed) {
    const std::uint32_t palette = bits <= 8 ? (headerSize == 12 ? 3u : 4u) << bits : 0;
    const std::uint32_t row = (width * bits + 31) / 32 * 4;
    const std::uint32_t offset = 14 + headerSize + palette;
    std::string s = std::string(offset, '\0') + Seeded(row * height, seed);
    s.replace(0, 2, "BM");
    PutLe32(s, 2, static_cast<std::uint32_t>(s.size()));
    PutLe32(s, 10, offset);
    PutLe32(s, 14, headerSize);
    if (headerSize == 12) {
        PutLe16(s, 18, width);
        PutLe16(s, 20, height);
        PutLe16(s, 22, 1);
        PutLe16(s, 24, bits);
        return s;
    }
    PutLe32(s, 18, width);
    PutLe32(s, 22, height);
    PutLe16(s, 26, 1);
    PutLe16(s, 28, bits);
    PutLe32(s, 34, row * height);
    return s;
}

std::string PngChunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return BigEndian(static_cast<std::uint32_t>(data.size())) + body +
           BigEndian(static_cast<std::uint32_t>(crc));
}

std::string PngFile(std::uint32_t width, std::uint32_t height, std::size_t dataSize,
                    unsigned seed) {
    const std::string header =
        BigEndian(width) + BigEndian(height) + std::string("\x08\x02\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) +
           PngChunk("IDAT", Seeded(dataSize, seed)) + PngChunk("IEND", "");
}

} // namespace testsupport
