#pragma once
// The bitmap resources of a program file (PE, 32- and 64-bit): where each one
// lies in the file and what it is called.
//
// Everything the file says is checked against the file before it is used:
// offsets and sizes are bounded by the file's size, every directory is read
// once at most (a directory that leads back to one already read is a loop),
// and the number of entries read is limited. Damage is described, never
// followed, and what is sound beside it is still listed.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileObject.h"

struct PeBitmapResource {
    std::string name; // "130" for an id, else the name (Windows-1252)
    std::uint16_t language = 0;
    std::int64_t offset = 0; // of its bytes in the file
    std::uint32_t size = 0;
};

struct PeResourceList {
    bool isProgram = false; // the file is a PE file
    std::vector<PeBitmapResource> bitmaps;
    // One line for each damaged part passed over.
    std::vector<std::string> problems;
};

// Lists the bitmap resources of the open file. A file that is no PE file
// gives an empty list and no problem. Raises platform::EInOutError when the
// file cannot be read.
PeResourceList ListBitmapResources(platform::FileObject& file);
