#pragma once
// Program files (PE, 32- or 64-bit, and 16-bit NE) composed byte by byte,
// with a resource section or table holding the resources a test gives, and
// where each part landed, so that a test can damage one on purpose.
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

constexpr std::uint32_t kCursorType = 1;
constexpr std::uint32_t kBitmapType = 2;
constexpr std::uint32_t kIconType = 3;
constexpr std::uint32_t kCursorGroupType = 12;
constexpr std::uint32_t kIconGroupType = 14;

struct ResourceItem {
    std::uint32_t type = kBitmapType;
    std::string typeName; // a named type (NE only); `type` is then ignored
    std::string name;     // empty: the resource is known by `id`
    std::uint32_t id = 0;
    std::uint16_t language = 1033;
    std::string data;
};

// An item of the type, known by its name or, when that is empty, by `id`.
ResourceItem Resource(std::uint32_t type, std::uint32_t id, std::string name, std::string data,
                      std::uint16_t language = 1033);

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

// A 16-bit program: a DOS header, the NE header, its resource table (types
// in the order given, consecutive items of one type sharing one), the
// resident names, then each item's data, padded to the table's unit with
// 0xA5 bytes, so that padding shows where it is taken.
struct NeProgramImage {
    std::string bytes;
    std::size_t headerAt = 0; // of the NE header
    std::size_t tableAt = 0;  // of the resource table
    // File offsets, in the order the items were given: of each item's entry
    // in the table (offset, length, flags, id), and of its data.
    std::vector<std::size_t> entryAt;
    std::vector<std::size_t> dataAt;
    // File offset of each type's entry (id, count), in type order.
    std::vector<std::size_t> typeAt;
};

NeProgramImage ComposeNeProgram(const std::vector<ResourceItem>& items, std::uint16_t shift);

// An icon image as a program stores it: an information header of twice the
// height (the colour picture and the mask), the colour table, the picture's
// rows and the mask's rows, filled from `seed`.
std::string IconImage(int bits, int width, int height, unsigned seed);
// A PNG file of a picture of `side` pixels square, as newer icons hold it.
std::string PngImage(int side, unsigned seed);
// A cursor image: its hot spot, then an icon image.
std::string CursorImage(std::uint16_t x, std::uint16_t y, const std::string& image);

// One entry of an icon or cursor group, as the group lists it.
struct GroupEntry {
    std::uint16_t width = 0; // a byte in an icon group; twice the height in a cursor group
    std::uint16_t height = 0;
    std::uint8_t colors = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInRes = 0;
    std::uint16_t id = 0;
};

// The group resource: a header, then 14 bytes for each entry.
std::string GroupData(const std::vector<GroupEntry>& entries, bool cursor);

// Little-endian writes into a byte string.
void PutU16(std::string& s, std::size_t at, std::uint16_t value);
void PutU32(std::string& s, std::size_t at, std::uint32_t value);
std::uint32_t GetU32(const std::string& s, std::size_t at);

} // namespace testsupport
