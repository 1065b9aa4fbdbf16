#pragma once
// Numbers as the Windows file formats store them: little-endian, low byte
// first, whatever the host's own order.
#include <cstdint>

namespace platform {

inline std::uint16_t Word(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

inline std::uint32_t DoubleWord(const unsigned char* at) {
    return static_cast<std::uint32_t>(Word(at)) | static_cast<std::uint32_t>(Word(at + 2)) << 16;
}

inline void PutDoubleWord(unsigned char* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i) & 0xFF);
}

} // namespace platform
