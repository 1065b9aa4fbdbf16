#include "ResourceChecks.h"

#include <filesystem>
#include <fstream>

#include "FuzzSupport.h"
#include "extract/ResourcePictures.h"
#include "platform/Drives.h"
#include "platform/LittleEndian.h"

namespace fuzz {

using platform::ReadLe16;
using platform::ReadLe32;

namespace {

void CheckIconFile(const Picture& p) {
    const std::string& s = p.bytes;
    FUZZ_CHECK(s.size() >= 6, "an icon file without its header");
    const std::size_t count = ReadLe16(s, 4);
    FUZZ_CHECK(ReadLe16(s, 2) == (p.kind == PictureKind::Cursor ? 2 : 1), "the file's type");
    FUZZ_CHECK(count > 0 && s.size() >= 6 + 16 * count, "an icon file's directory");
    std::size_t next = 6 + 16 * count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t size = ReadLe32(s, 6 + 16 * i + 8), at = ReadLe32(s, 6 + 16 * i + 12);
        FUZZ_CHECK(at == next, "an image out of place");
        next += size;
    }
    FUZZ_CHECK(next == s.size(), "images that do not end where the file does");
}

} // namespace

void OpenProgram(const std::string& bytes, platform::FileObject& file) {
    EnsureDrives();
    const auto host = std::filesystem::path(platform::DriveHostRoot('C')) / "program.exe";
    std::ofstream(host, std::ios::binary | std::ios::trunc) << bytes;
    file.Assign("C:\\program.exe");
    file.Reset(platform::FileAccess::ReadOnly, 1);
}

void CheckPictures(const ProgramResources& list, const std::string& bytes) {
    const auto size = static_cast<std::int64_t>(bytes.size());
    for (const ProgramResource& r : list.resources)
        FUZZ_CHECK(r.offset >= 0 && r.offset + std::int64_t{r.size} <= size, r.name);
    const TResourcePictures pictures(list, [&bytes](std::int64_t offset, std::uint32_t n) {
        return bytes.substr(static_cast<std::size_t>(offset), n);
    });
    for (const std::size_t source : pictures.Sources()) {
        Picture picture;
        std::string problem;
        if (!pictures.Make(source, picture, problem)) {
            FUZZ_CHECK(!problem.empty(), "a refusal without a reason");
            continue;
        }
        FUZZ_CHECK(static_cast<std::int64_t>(picture.bytes.size()) <= MaxPictureSize + 14,
                   "a picture larger than allowed");
        if (picture.kind == PictureKind::Bitmap)
            FUZZ_CHECK(picture.bytes.starts_with("BM") &&
                           ReadLe32(picture.bytes, 2) == picture.bytes.size(),
                       "a bitmap file's header");
        else
            CheckIconFile(picture);
    }
}

} // namespace fuzz
