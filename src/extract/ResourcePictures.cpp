#include "extract/ResourcePictures.h"

#include "extract/DibFile.h"
#include "extract/IconFile.h"

std::string_view PictureExtension(PictureKind kind) {
    switch (kind) {
    case PictureKind::Icon:
        return "ico";
    case PictureKind::Cursor:
        return "cur";
    case PictureKind::Bitmap:
        break;
    }
    return "bmp";
}

TResourcePictures::TResourcePictures(const ProgramResources& list, ReadBytes read)
    : list_(list), read_(std::move(read)) {
    for (std::size_t i = 0; i < list.resources.size(); ++i) {
        const ProgramResource& r = list.resources[i];
        if (r.type == RtBitmap || r.type == RtGroupIcon || r.type == RtGroupCursor)
            sources_.push_back(i);
        else if (!r.named)
            images_[{r.type, r.id}].push_back(i);
    }
}

PictureKind TResourcePictures::KindOf(std::size_t source) const {
    switch (list_.resources[source].type) {
    case RtGroupIcon:
        return PictureKind::Icon;
    case RtGroupCursor:
        return PictureKind::Cursor;
    default:
        return PictureKind::Bitmap;
    }
}

// The image of the group's language; a program that has it in another
// language only (or in none, as a 16-bit one) gives the first listed.
const ProgramResource* TResourcePictures::FindImage(std::uint32_t type, std::uint32_t id,
                                                    std::uint16_t language) const {
    const auto found = images_.find({type, id});
    if (found == images_.end())
        return nullptr;
    for (const std::size_t i : found->second)
        if (list_.resources[i].language == language)
            return &list_.resources[i];
    return &list_.resources[found->second.front()];
}

bool TResourcePictures::MakeGroupFile(const ProgramResource& group, Picture& picture,
                                      std::string& problem) const {
    const bool cursor = group.type == RtGroupCursor;
    IconGroup parsed;
    if (!ParseIconGroup(read_(group.offset, group.size), cursor, parsed, problem))
        return false;
    const std::uint32_t imageType = cursor ? RtCursor : RtIcon;
    std::vector<std::string> images;
    std::int64_t total = 0;
    for (const IconGroupEntry& e : parsed.entries) {
        const ProgramResource* image = FindImage(imageType, e.id, group.language);
        if (!image) {
            problem = "it names " + std::string(ResourceTypeWord(imageType)) + " " +
                      std::to_string(e.id) + ", which the program does not hold";
            return false;
        }
        // Checked before the image is read, so that a group naming one large
        // image many times costs no more than a refusal.
        total += image->size;
        if (total > MaxPictureSize) {
            problem = "its images come to more than " + std::to_string(MaxPictureSize) + " bytes";
            return false;
        }
        images.push_back(read_(image->offset, image->size));
    }
    IconFile file;
    if (!MakeIconFile(parsed, images, list_.unit, MaxPictureSize, file, problem))
        return false;
    picture.bytes = std::move(file.bytes);
    picture.width = file.width;
    picture.height = file.height;
    picture.bitCount = file.bitCount;
    return true;
}

bool TResourcePictures::Make(std::size_t source, Picture& picture, std::string& problem) const {
    const ProgramResource& r = list_.resources[source];
    picture = Picture{};
    picture.kind = KindOf(source);
    bool made = false;
    if (r.size > MaxPictureSize) {
        problem = std::to_string(r.size) + " bytes, more than " + std::to_string(MaxPictureSize) +
                  " that a picture may have";
    } else if (picture.kind == PictureKind::Bitmap) {
        DibFile file;
        made = MakeBitmapFile(read_(r.offset, r.size), file, problem);
        picture.bytes = std::move(file.bytes);
        picture.width = file.width;
        picture.height = file.height;
        picture.bitCount = file.bitCount;
    } else {
        made = MakeGroupFile(r, picture, problem);
    }
    if (!made)
        problem = std::string(ResourceTypeWord(r.type)) + " " + r.name + ": " + problem;
    return made;
}
