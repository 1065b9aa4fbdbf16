#include "EmbeddedBitmaps.h"

namespace testsupport {

namespace {

void PutLittleEndian(std::string& s, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string BitmapBytes::Bytes() const {
    std::string s(static_cast<std::size_t>(length < 54 ? 54 : length), '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < s.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        // Bytes from 'C' upwards never make a "B", so no "BM" hides in a body.
        s[i] = static_cast<char>('C' + (state >> 24) % 180);
    }
    s[0] = 'B';
    s[1] = 'M';
    PutLittleEndian(s, 2, static_cast<std::uint32_t>(declaredSize), 4);
    PutLittleEndian(s, 6, reserved1, 2);
    PutLittleEndian(s, 8, reserved2, 2);
    PutLittleEndian(s, 10, 54, 4);
    PutLittleEndian(s, 14, infoSize, 4);
    PutLittleEndian(s, 26, planes, 2);
    return s;
}

std::string ValidBitmap(std::int32_t size, unsigned seed) {
    BitmapBytes b;
    b.declaredSize = size;
    b.length = size;
    b.seed = seed;
    return b.Bytes();
}

std::string Filler(std::size_t size, char c) {
    return std::string(size, c);
}

std::string Put(std::string data, std::size_t at, const std::string& what) {
    if (data.size() < at + what.size())
        data.resize(at + what.size(), 'x');
    data.replace(at, what.size(), what);
    return data;
}

} // namespace testsupport
