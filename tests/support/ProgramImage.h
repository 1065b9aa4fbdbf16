#pragma once
// Program files (PE, 32- or 64-bit) composed byte by byte, with a resource
// section holding the resources a test gives, and where each part landed, so
// that a test can damage one on purpose.
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

constexpr std::uint32_t kBitmapType = 2;
constexpr std::uint32_t kIconType = 3;

struct ResourceItem {
    std::uint32_t type = kBitmapType;
    std::string name; // empty: the resource is known by `id`
    std::uint32_t id = 0;
    std::uint16_t language = 1033;
    std::string data;
};

struct ProgramImage {
    std::string bytes;
    std::size_t resourceStart = 0;     // file offset of the resource section
    std::uint32_t resourceAddress = 0; // its relative virtual address
    // File offsets, in the order the items were given: of each item's data
    // entry, of its entry in its type's directory, and of its data.
    std::vector<std::size_t> dataEntryAt;
    std::vector<std::size_t> nameEntryAt;
    std::vector<std::size_t> dataAt;
    // File offset of the root directory's entry for each type, in type order.
    std::vector<std::size_t> typeEntryAt;
};

// A program with a code section, then the resource section. Items come in
// the order their directories list them; consecutive items of one type share
// its directory, and consecutive items of one name (in several languages)
// share the name's.
ProgramImage ComposeProgram(const std::vector<ResourceItem>& items, bool is64);

// A bitmap as a resource holds it: a 40-byte information header, the
// colour table (colorsUsed entries, or all 2^bits up to 8 bits), the masks
// for bit fields, then rows of pixels filled from `seed`.
std::string ResourceBitmap(int bits, int width, int height, unsigned seed,
                           std::uint32_t compression = 0, std::uint32_t colorsUsed = 0);

// Little-endian writes into a byte string.
void PutU16(std::string& s, std::size_t at, std::uint16_t value);
void PutU32(std::string& s, std::size_t at, std::uint32_t value);
std::uint32_t GetU32(const std::string& s, std::size_t at);

} // namespace testsupport
