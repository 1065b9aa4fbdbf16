#pragma once
// The carving scan beyond the window's rules: one pass over a file that
// finds bitmaps by the header rule and PNG files by their signature, each
// taken whole, while the window's own finds stay exactly as they are.
#include <cstdint>
#include <string>
#include <vector>

#include "extract/CarveRules.h"
#include "extract/FileScan.h"
#include "platform/FileObject.h"

enum class CarvedKind { Bitmap, Png };

// A picture the scan takes: where it starts in the file (0-based), its
// size, and how many of those bytes the file held (fewer only for a bitmap
// the window takes whose declared size reaches past the end).
struct CarvedBitmap {
    std::int64_t offset = 0;
    std::int64_t size = 0;
    std::int64_t held = 0;
    CarvedKind kind = CarvedKind::Bitmap;
};

struct CarveResult {
    std::vector<CarvedBitmap> found; // in the order of the file
    // Pictures found but not taken (a PNG cut short, a bitmap running past
    // the end), each said in a line without the file's name.
    std::vector<std::string> notes;
};

// Scans the open file (records of one byte) of `size` bytes from its start,
// telling `progress` how far it has come, as the searches do. Raises
// platform::EInOutError when reading fails.
CarveResult CarveFile(platform::FileObject& file, std::int64_t size, const CarveRules& rules,
                      const SearchProgress& progress);
