#pragma once
// The picture files a program's resources make: each bitmap a .bmp file,
// each icon group with its images an .ico file, each cursor group a .cur
// file. Made one at a time, so that a program with thousands of them never
// holds more than one in memory.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "extract/ProgramResources.h"

enum class PictureKind { Bitmap, Icon, Cursor };

// "bmp", "ico", "cur": the file name's extension and the kind's name.
std::string_view PictureExtension(PictureKind kind);

// A picture file is never larger: it is held in memory whole, and no honest
// program stores a picture nearly as large.
constexpr std::int64_t MaxPictureSize = 64LL << 20;

struct Picture {
    PictureKind kind = PictureKind::Bitmap;
    std::string bytes; // the whole file
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
};

class TResourcePictures {
public:
    // Reads `size` bytes at `offset` of the program, which the listing has
    // placed inside the file; raises platform::EInOutError when it cannot.
    using ReadBytes = std::function<std::string(std::int64_t offset, std::uint32_t size)>;

    TResourcePictures(const ProgramResources& list, ReadBytes read);

    // The resources that become files (bitmaps and groups), as indices into
    // the listing, in its order.
    const std::vector<std::size_t>& Sources() const { return sources_; }
    PictureKind KindOf(std::size_t source) const;

    // Makes the file of one source. False, with `problem` naming the
    // resource and what is wrong, when it cannot be made whole: a bitmap
    // whose header cannot describe it, a group that names an image the
    // program does not hold or one whose size disagrees with the group.
    bool Make(std::size_t source, Picture& picture, std::string& problem) const;

private:
    bool MakeGroupFile(const ProgramResource& group, Picture& picture, std::string& problem) const;
    const ProgramResource* FindImage(std::uint32_t type, std::uint32_t id,
                                     std::uint16_t language) const;

    const ProgramResources& list_;
    ReadBytes read_;
    std::vector<std::size_t> sources_;
    // The images by type and id, each in the order listed (one per language).
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<std::size_t>> images_;
};
