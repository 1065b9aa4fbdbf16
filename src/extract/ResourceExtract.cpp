// The extractor's second source: the picture resources of a program file,
// which carry no file header and so are never found by the "BM" scan.
#include <new>

#include "extract/CarvedNames.h"
#include "extract/Extractor.h"
#include "extract/ProgramResources.h"
#include "extract/ResourceFileNames.h"
#include "extract/ResourceList.h"
#include "extract/ResourcePictures.h"
#include "extract/UnreadResources.h"
#include "fileutils/PathParts.h"

namespace {

std::string ReadResource(platform::FileObject& exe, std::int64_t offset, std::uint32_t size) {
    std::string bytes(size, '\0');
    exe.Seek(offset);
    if (exe.Read(bytes.data(), size) != size)
        throw platform::EInOutError(platform::ERROR_READ_FAULT);
    return bytes;
}

std::vector<std::string> OutputNames(const std::string& exeName, const ProgramResources& list,
                                     const TResourcePictures& pictures) {
    std::vector<ResourceFileName> names;
    for (const std::size_t i : pictures.Sources())
        names.push_back({list.resources[i].name, list.resources[i].language,
                         std::string(PictureExtension(pictures.KindOf(i)))});
    return ResourceFileNames(exeName, names);
}

} // namespace

ExtractOutcome TBitmapExtractor::ExtractResources() {
    const std::string exeName = NamePart(exePath_);
    return ReadingPass([this, &exeName](platform::FileObject& exe) {
        const UnreadResources unread = ResourcesNotRead(exe);
        if (!unread.reason.empty())
            TellNotRead(exeName + " is " + unread.reason);
        const ProgramResources list = ListProgramResources(exe);
        // What a packer compressed is listed still, and leads nowhere: that
        // is said once above rather than as damage.
        if (!unread.packed)
            for (const std::string& problem : list.problems)
                Report("Damaged resources in " + exeName + ":\r\n" + problem);
        const TResourcePictures pictures(list, [&exe](std::int64_t offset, std::uint32_t size) {
            return ReadResource(exe, offset, size);
        });
        const std::vector<std::string> names = OutputNames(exeName, list, pictures);
        for (std::size_t k = 0; k < names.size(); ++k) {
            const ProgramResource& r = list.resources[pictures.Sources()[k]];
            Picture picture;
            std::string problem;
            if (!pictures.Make(pictures.Sources()[k], picture, problem)) {
                Report("Damaged resources in " + exeName + ":\r\n" + problem);
                continue;
            }
            const auto* bytes = reinterpret_cast<const unsigned char*>(picture.bytes.data());
            WrittenBitmap record{exePath_,
                                 r.offset,
                                 std::ssize(picture.bytes),
                                 {},
                                 picture.width,
                                 picture.height,
                                 picture.bitCount,
                                 r.name,
                                 std::string(PictureExtension(picture.kind)),
                                 r.type,
                                 r.language,
                                 std::string(ProgramKindName(list.kind))};
            if (TellDuplicate(bytes, std::ssize(picture.bytes), record))
                continue;
            record.file =
                outputDir_ + (hooks_.carve.names ? hooks_.carve.names->Claim(names[k]) : names[k]);
            const WriteResult result = WritePicture(record.file, bytes, std::ssize(picture.bytes));
            if (result == WriteResult::Declined)
                break;
            if (result == WriteResult::Failed)
                continue;
            NoteWritten(record.file);
            Announce(std::move(record));
        }
    });
}
