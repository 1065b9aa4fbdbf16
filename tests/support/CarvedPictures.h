#pragma once
// Whole bitmap and PNG files as the carving scan takes them, for its tests
// and its benchmark: sound in every header, their pixels filled from a seed
// so that no two look alike.
#include <cstdint>
#include <string>

namespace testsupport {

void PutLe16(std::string& s, std::size_t at, std::uint32_t v);
void PutLe32(std::string& s, std::size_t at, std::uint32_t v);

// Uncompressed, its palette full (three-byte entries behind the 12-byte
// header), its pixels holding no "BM" and no PNG signature.
std::string SoundBitmap(std::uint32_t headerSize, std::uint32_t bits = 8, std::uint32_t width = 10,
                        std::uint32_t height = 6, unsigned seed = 1);

// One chunk: length, type, data and checksum.
std::string PngChunk(const std::string& type, const std::string& data);
// 8 bits of red, green and blue; the data chunk holds `dataSize` bytes
// (not decodable: the walk never decodes).
std::string PngFile(std::uint32_t width = 7, std::uint32_t height = 3, std::size_t dataSize = 70,
                    unsigned seed = 1);

} // namespace testsupport
