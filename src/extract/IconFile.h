#pragma once
// An icon or cursor file (.ico, .cur) put together from a program's icon or
// cursor group and the images it names.
//
// A group lists its images by id, each with its size and the fields an icon
// file's directory repeats; the file is that directory followed by the
// images. A cursor image starts with its hot spot, which the file keeps in
// its directory instead.
#include <cstdint>
#include <string>
#include <vector>

struct IconGroupEntry {
    std::uint16_t width = 0;  // a byte in an icon group; in a cursor group a word,
    std::uint16_t height = 0; // and the height that of both masks, so twice the picture's
    std::uint8_t colors = 0;
    std::uint8_t reserved = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t bytesInRes = 0; // the image's size, a cursor's hot spot included
    std::uint16_t id = 0;         // of the image resource
};

struct IconGroup {
    bool cursor = false;
    std::vector<IconGroupEntry> entries;
};

// Reads a group as the program stores it. False, with `problem` set, when it
// is too short for what it claims or names no image.
bool ParseIconGroup(const std::string& data, bool cursor, IconGroup& group, std::string& problem);

struct IconFile {
    std::string bytes;
    // Of its largest image, as the group gives them.
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
};

// The file of the group's images, given in the order of its entries. An
// image must be as large as its entry says; `unit` allows the padding of a
// 16-bit program, which rounds every length up to a multiple of it. False,
// with `problem` set, when an image disagrees with its entry or the file
// would grow past `maxSize` bytes; nothing is then made.
bool MakeIconFile(const IconGroup& group, const std::vector<std::string>& images,
                  std::uint32_t unit, std::int64_t maxSize, IconFile& file, std::string& problem);
