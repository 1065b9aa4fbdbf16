#pragma once
// The headers at the start of a program file: the DOS header, the signature
// of the newer header it points to, and a PE file's headers.
#include <cstdint>
#include <string>
#include <vector>

#include "extract/BoundedReader.h"

struct DosHeader {
    std::uint16_t lastPageBytes = 0;
    std::uint16_t pages = 0; // of 512 bytes, the last one perhaps shorter
    std::uint16_t headerParagraphs = 0;
    std::uint32_t newHeaderAt = 0; // where a newer header would be
};

// False when the file does not start with a DOS header ("MZ").
bool ReadDosHeader(TBoundedReader& reader, DosHeader& header);

enum class NewHeader { None, Pe, Ne, Le, Lx };

// What the DOS header's pointer leads to.
NewHeader NewHeaderKind(TBoundedReader& reader, const DosHeader& header);

struct PeSection {
    std::string name;          // up to 8 bytes
    std::uint32_t address = 0; // relative virtual address
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

struct PeDataDirectory {
    std::uint32_t address = 0;
    std::uint32_t size = 0;
};

// The data directories a program may have, by their numbers.
constexpr std::size_t PeResourceDirectory = 2;
constexpr std::size_t PeRuntimeDirectory = 14; // the .NET runtime's header

struct PeHeaders {
    bool is64 = false;
    std::vector<PeSection> sections;
    std::vector<PeDataDirectory> directories; // as many as the file has
};

// Reads the headers at `at` (the "PE\0\0" signature); false when they are
// no PE headers or do not fit in the file.
bool ReadPeHeaders(TBoundedReader& reader, std::int64_t at, PeHeaders& headers);
