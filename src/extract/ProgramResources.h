#pragma once
// The picture resources of a program file, 32- and 64-bit (PE) or 16-bit
// (NE): where each one lies in the file and what it is called. The tables
// are read by PeResources and NeResources; ResourceList picks the one the
// file is.
//
// Everything the file says is checked against the file before it is used:
// offsets and sizes are bounded by the file's size, tables are read once and
// within their bounds, and the work a crafted table can cause is limited.
// Damage is described, never followed, and what is sound beside it is still
// listed.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The resource types that hold pictures, by their Windows numbers.
enum ResourceType : std::uint32_t {
    RtCursor = 1,
    RtBitmap = 2,
    RtIcon = 3,
    RtGroupCursor = 12,
    RtGroupIcon = 14,
};

// What a resource of the type is called in a message: "icon group".
std::string_view ResourceTypeWord(std::uint32_t type);

enum class ProgramKind { None, Pe32, Pe32Plus, Ne };

// "PE32", "PE32+", "NE"; empty for None.
std::string_view ProgramKindName(ProgramKind kind);

// An offset as messages show it: "0x1F0".
std::string HexText(std::uint64_t value);

struct ProgramResource {
    std::uint32_t type = 0;
    std::string name; // "130" for an id, else the name (Windows-1252)
    bool named = false;
    std::uint32_t id = 0;       // when not named
    std::uint16_t language = 0; // 0 in a 16-bit program, which has none
    std::int64_t offset = 0;    // of its bytes in the file
    std::uint32_t size = 0;
};

struct ProgramResources {
    ProgramKind kind = ProgramKind::None;
    // A 16-bit program stores lengths in units of this many bytes, so a
    // resource may end in up to one unit less one of padding.
    std::uint32_t unit = 1;
    // Resources of the picture types only, in the order the table lists them.
    std::vector<ProgramResource> resources;
    // One line for each damaged part passed over.
    std::vector<std::string> problems;
};
