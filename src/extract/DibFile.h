#pragma once
// A bitmap as a program stores it among its resources (information header,
// colour table, pixels, without the file header) made a whole bitmap file.
#include <cstdint>
#include <string>

struct DibFile {
    std::string bytes; // the whole file, file header first
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
};

// Puts the 14-byte file header in front of `dib`: the file's size, and the
// offset of the pixels behind the information header, the colour masks and
// the colour table, as the header's size, depth, compression and colours used
// lay them out. False, with `problem` set, when the header cannot describe the
// bytes given.
bool MakeBitmapFile(const std::string& dib, DibFile& file, std::string& problem);
