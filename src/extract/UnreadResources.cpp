#include "extract/UnreadResources.h"

#include <algorithm>
#include <string_view>

#include "extract/ProgramHeaders.h"

namespace {

constexpr std::int64_t kDosPage = 512;
constexpr std::int64_t kDosParagraph = 16;
constexpr std::int64_t kNeTargetSystemAt = 0x36;
constexpr unsigned char kOs2 = 1;
// A packer's signature lies among the headers, an installer's at the start
// of what follows the sections.
constexpr std::int64_t kHeaderLookout = 1024;
constexpr std::int64_t kPayloadLookout = 64 * 1024;

struct Signature {
    std::string_view bytes;
    const char* maker;
};

// The compressed payloads installers and self-extracting archives append.
constexpr Signature kPayloads[] = {
    {"NullsoftInst", "NSIS"},
    {"Inno Setup Setup Data", "Inno Setup"},
    {"idska32\x1A", "Inno Setup"},
    {{"7z\xBC\xAF\x27\x1C", 6}, "7-Zip"},
    {{"MSCF\0\0\0\0", 8}, "a cabinet"},
    {"PK\x03\x04", "ZIP"},
    {"Rar!\x1A\x07", "RAR"},
};

bool Holds(TBoundedReader& reader, std::int64_t from, std::int64_t length, std::string_view what) {
    std::string bytes;
    length = std::min(length, reader.Size() - from);
    return length > 0 && reader.Read(from, length, bytes) && bytes.find(what) != std::string::npos;
}

// A DOS program's header describes a program that fits in the file.
bool IsDosProgram(TBoundedReader& reader, const DosHeader& dos) {
    if (dos.pages == 0 || dos.headerParagraphs < 2 || dos.lastPageBytes >= kDosPage)
        return false;
    const std::int64_t image =
        (std::int64_t{dos.pages} - (dos.lastPageBytes ? 1 : 0)) * kDosPage + dos.lastPageBytes;
    return dos.headerParagraphs * kDosParagraph <= image && image <= reader.Size();
}

UnreadResources PeReason(TBoundedReader& reader, const PeHeaders& pe) {
    const bool upxSections =
        std::any_of(pe.sections.begin(), pe.sections.end(),
                    [](const PeSection& s) { return s.name.starts_with("UPX"); });
    if (upxSections || Holds(reader, 0, kHeaderLookout, "UPX!"))
        return {"packed with UPX: the resources it compressed are not read", true};
    std::int64_t end = 0;
    for (const PeSection& s : pe.sections)
        end = std::max(end, std::int64_t{s.rawOffset} + s.rawSize);
    for (const Signature& s : kPayloads)
        if (end < reader.Size() && Holds(reader, end, kPayloadLookout, s.bytes))
            return {std::string("an installer (") + s.maker +
                    ") with a compressed payload: the files inside it are not read"};
    if (pe.directories.size() > PeRuntimeDirectory &&
        pe.directories[PeRuntimeDirectory].address != 0)
        return {"a .NET assembly: its managed resources are not walked"};
    return {};
}

} // namespace

UnreadResources ResourcesNotRead(platform::FileObject& file) {
    TBoundedReader reader(file);
    DosHeader dos;
    if (!ReadDosHeader(reader, dos))
        return {};
    switch (NewHeaderKind(reader, dos)) {
    case NewHeader::Pe: {
        PeHeaders pe;
        return ReadPeHeaders(reader, dos.newHeaderAt, pe) ? PeReason(reader, pe)
                                                          : UnreadResources{};
    }
    case NewHeader::Ne: {
        unsigned char system = 0;
        if (reader.Read(dos.newHeaderAt + kNeTargetSystemAt, &system, 1) && system == kOs2)
            return {"a 16-bit OS/2 program: its resources are not read"};
        return {};
    }
    case NewHeader::Le:
        return {"an LE program (a Windows device driver): its resources are not read"};
    case NewHeader::Lx:
        return {"an LX program (OS/2): its resources are not read"};
    case NewHeader::None:
        break;
    }
    if (IsDosProgram(reader, dos))
        return {"a DOS program: it holds no Windows resources"};
    return {};
}
