#pragma once
// Numbers as the Windows file formats store them: little-endian, low byte
// first, whatever the host's own order.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

inline std::uint16_t ReadLe16(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

inline std::uint32_t ReadLe32(const unsigned char* at) {
    return static_cast<std::uint32_t>(ReadLe16(at)) | static_cast<std::uint32_t>(ReadLe16(at + 2))
                                                          << 16;
}

inline std::uint16_t ReadLe16(const std::string& s, std::size_t at) {
    return ReadLe16(reinterpret_cast<const unsigned char*>(s.data()) + at);
}

inline std::uint32_t ReadLe32(const std::string& s, std::size_t at) {
    return ReadLe32(reinterpret_cast<const unsigned char*>(s.data()) + at);
}

inline void AppendLe16(std::string& s, std::uint16_t value) {
    s += static_cast<char>(value & 0xFF);
    s += static_cast<char>(value >> 8);
}

inline void AppendLe32(std::string& s, std::uint32_t value) {
    AppendLe16(s, static_cast<std::uint16_t>(value & 0xFFFF));
    AppendLe16(s, static_cast<std::uint16_t>(value >> 16));
}

} // namespace platform
