#include "extract/ProgramHeaders.h"

#include <algorithm>

#include "platform/LittleEndian.h"

using platform::ReadLe16;
using platform::ReadLe32;

namespace {

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kMaxDirectories = 16;

} // namespace

bool ReadDosHeader(TBoundedReader& reader, DosHeader& header) {
    unsigned char dos[64];
    if (!reader.Read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return false;
    header.lastPageBytes = ReadLe16(dos + 2);
    header.pages = ReadLe16(dos + 4);
    header.headerParagraphs = ReadLe16(dos + 8);
    header.newHeaderAt = ReadLe32(dos + 60);
    return true;
}

NewHeader NewHeaderKind(TBoundedReader& reader, const DosHeader& header) {
    unsigned char signature[4];
    if (!reader.Read(header.newHeaderAt, signature, sizeof signature))
        return NewHeader::None;
    if (ReadLe32(signature) == 0x00004550) // "PE\0\0"
        return NewHeader::Pe;
    switch (ReadLe16(signature)) {
    case 0x454E: // "NE"
        return NewHeader::Ne;
    case 0x454C: // "LE"
        return NewHeader::Le;
    case 0x584C: // "LX"
        return NewHeader::Lx;
    default:
        return NewHeader::None;
    }
}

bool ReadPeHeaders(TBoundedReader& reader, std::int64_t at, PeHeaders& headers) {
    unsigned char coff[24];
    if (!reader.Read(at, coff, sizeof coff) || ReadLe32(coff) != 0x00004550)
        return false;
    const std::uint16_t sectionCount = ReadLe16(coff + 6), optionalSize = ReadLe16(coff + 20);
    std::string optional;
    if (optionalSize < 2 || !reader.Read(at + 24, optionalSize, optional))
        return false;
    // The data directories follow the fields of fixed size, 96 bytes of them
    // in a 32-bit file and 112 in a 64-bit one, their count just before them.
    const std::uint16_t magic = ReadLe16(optional, 0);
    if (magic != kPe32Magic && magic != kPe32PlusMagic)
        return false;
    headers.is64 = magic == kPe32PlusMagic;
    const std::size_t directories = headers.is64 ? 112 : 96;
    headers.directories.clear();
    if (optional.size() >= directories) {
        const std::size_t fit = (optional.size() - directories) / 8;
        const std::size_t count =
            std::min({std::size_t{ReadLe32(optional, directories - 4)}, fit, kMaxDirectories});
        for (std::size_t i = 0; i < count; ++i)
            headers.directories.push_back({ReadLe32(optional, directories + 8 * i),
                                           ReadLe32(optional, directories + 8 * i + 4)});
    }
    std::string table;
    if (!reader.Read(at + 24 + optionalSize, std::int64_t{sectionCount} * kSectionHeaderSize,
                     table))
        return false;
    headers.sections.clear();
    for (std::size_t i = 0; i < table.size(); i += kSectionHeaderSize) {
        const std::string name = table.substr(i, 8);
        headers.sections.push_back({name.substr(0, name.find('\0')), ReadLe32(table, i + 12),
                                    ReadLe32(table, i + 16), ReadLe32(table, i + 20)});
    }
    return true;
}
