#include "extract/PeResources.h"

#include <QString>
#include <set>

#include "platform/Codepage.h"
#include "platform/LittleEndian.h"

using platform::ReadLe16;
using platform::ReadLe32;

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
// No honest program holds nearly as many; it bounds the work a crafted
// directory can cause.
constexpr std::int64_t kMaxEntries = 1 << 20;

bool IsPictureType(std::uint32_t type) {
    return type == RtCursor || type == RtBitmap || type == RtIcon || type == RtGroupCursor ||
           type == RtGroupIcon;
}

struct DirectoryEntry {
    bool named = false;
    std::uint32_t id = 0; // the id, or the offset of the name
    bool isDirectory = false;
    std::uint32_t target = 0; // offset of the subdirectory or data entry
};

class ResourceWalk {
public:
    ResourceWalk(TBoundedReader& reader, const std::vector<PeSection>& sections,
                 std::uint32_t rootAddress, ProgramResources& list)
        : reader_(reader), sections_(sections), root_(rootAddress), list_(list) {}

    void Run();

private:
    bool FileOffset(std::uint64_t address, std::uint64_t length, std::int64_t& offset) const;
    bool ReadDirectory(std::uint32_t at, std::vector<DirectoryEntry>& entries);
    void NameOf(const DirectoryEntry& e, ProgramResource& resource);
    void TakeName(std::uint32_t type, const DirectoryEntry& nameEntry);
    void TakeData(ProgramResource resource, std::uint32_t at);
    void Problem(const std::string& text) { list_.problems.push_back(text); }

    TBoundedReader& reader_;
    const std::vector<PeSection>& sections_;
    std::uint32_t root_;
    ProgramResources& list_;
    std::set<std::uint32_t> visited_;
    std::int64_t entriesRead_ = 0;
};

// The file offset of `length` bytes at a relative virtual address: they must
// lie in the stored bytes of one section.
bool ResourceWalk::FileOffset(std::uint64_t address, std::uint64_t length,
                              std::int64_t& offset) const {
    for (const PeSection& s : sections_) {
        if (address < s.address || address - s.address >= s.rawSize)
            continue;
        const std::uint64_t into = address - s.address;
        if (length > s.rawSize - into)
            return false;
        offset = std::int64_t{s.rawOffset} + static_cast<std::int64_t>(into);
        return offset + static_cast<std::int64_t>(length) <= reader_.Size();
    }
    return false;
}

bool ResourceWalk::ReadDirectory(std::uint32_t at, std::vector<DirectoryEntry>& entries) {
    if (!visited_.insert(at).second) {
        Problem("the resource directory at " + HexText(at) + " is reached twice (a loop)");
        return false;
    }
    unsigned char head[16];
    std::int64_t offset = 0;
    if (!FileOffset(std::uint64_t{root_} + at, sizeof head, offset) ||
        !reader_.Read(offset, head, sizeof head)) {
        Problem("the resource directory at " + HexText(at) + " lies outside the file");
        return false;
    }
    const std::int64_t count = std::int64_t{ReadLe16(head + 12)} + ReadLe16(head + 14);
    entriesRead_ += count;
    if (entriesRead_ > kMaxEntries) {
        Problem("the resource directory holds more than " + std::to_string(kMaxEntries) +
                " entries");
        return false;
    }
    std::string bytes;
    if (!FileOffset(std::uint64_t{root_} + at + 16, static_cast<std::uint64_t>(count) * 8,
                    offset) ||
        !reader_.Read(offset, count * 8, bytes)) {
        Problem("the entries of the resource directory at " + HexText(at) +
                " reach outside the file");
        return false;
    }
    entries.clear();
    for (std::size_t i = 0; i < bytes.size(); i += 8) {
        const std::uint32_t name = ReadLe32(bytes, i), target = ReadLe32(bytes, i + 4);
        entries.push_back({(name & kHighBit) != 0, name & ~kHighBit, (target & kHighBit) != 0,
                           target & ~kHighBit});
    }
    return true;
}

// An id in decimal, or the stored name: a count of UTF-16 units, then the units.
void ResourceWalk::NameOf(const DirectoryEntry& e, ProgramResource& resource) {
    resource.named = e.named;
    resource.id = e.named ? 0 : e.id;
    if (!e.named) {
        resource.name = std::to_string(e.id);
        return;
    }
    unsigned char length[2];
    std::int64_t offset = 0;
    if (FileOffset(std::uint64_t{root_} + e.id, 2, offset) && reader_.Read(offset, length, 2)) {
        std::string units;
        if (FileOffset(std::uint64_t{root_} + e.id + 2, std::uint64_t{ReadLe16(length)} * 2,
                       offset) &&
            reader_.Read(offset, std::int64_t{ReadLe16(length)} * 2, units)) {
            QString text;
            for (std::size_t i = 0; i < units.size(); i += 2)
                text.append(QChar(ReadLe16(units, i)));
            resource.name = platform::FromQt(text);
            return;
        }
    }
    Problem("the name at " + HexText(e.id) + " lies outside the file");
    resource.name = "name" + HexText(e.id);
}

void ResourceWalk::TakeData(ProgramResource resource, std::uint32_t at) {
    const std::string what = std::string(ResourceTypeWord(resource.type)) + " " + resource.name;
    unsigned char entry[16];
    std::int64_t offset = 0;
    if (!FileOffset(std::uint64_t{root_} + at, sizeof entry, offset) ||
        !reader_.Read(offset, entry, sizeof entry)) {
        Problem(what + ": its data entry lies outside the file");
        return;
    }
    resource.size = ReadLe32(entry + 4);
    if (!FileOffset(ReadLe32(entry), resource.size, resource.offset)) {
        Problem(what + ": " + std::to_string(resource.size) + " bytes at " +
                HexText(ReadLe32(entry)) + " reach outside the file");
        return;
    }
    list_.resources.push_back(std::move(resource));
}

// A name's entries are its languages, each leading to the resource's data.
void ResourceWalk::TakeName(std::uint32_t type, const DirectoryEntry& nameEntry) {
    ProgramResource resource;
    resource.type = type;
    NameOf(nameEntry, resource);
    if (!nameEntry.isDirectory) {
        TakeData(resource, nameEntry.target);
        return;
    }
    std::vector<DirectoryEntry> languages;
    if (!ReadDirectory(nameEntry.target, languages))
        return;
    for (const DirectoryEntry& l : languages) {
        if (l.isDirectory) {
            Problem(std::string(ResourceTypeWord(type)) + " " + resource.name +
                    ": a directory where its data was due");
            continue;
        }
        resource.language = static_cast<std::uint16_t>(l.id);
        TakeData(resource, l.target);
    }
}

void ResourceWalk::Run() {
    std::vector<DirectoryEntry> types;
    if (!ReadDirectory(0, types))
        return;
    for (const DirectoryEntry& t : types) {
        if (t.named || !IsPictureType(t.id))
            continue;
        std::vector<DirectoryEntry> names;
        if (!t.isDirectory) {
            Problem("the " + std::string(ResourceTypeWord(t.id)) + " entry is no directory");
            continue;
        }
        if (!ReadDirectory(t.target, names))
            continue;
        for (const DirectoryEntry& n : names)
            TakeName(t.id, n);
    }
}

} // namespace

void ListPeResources(TBoundedReader& reader, const PeHeaders& headers, ProgramResources& list) {
    list.kind = headers.is64 ? ProgramKind::Pe32Plus : ProgramKind::Pe32;
    if (headers.directories.size() <= PeResourceDirectory)
        return;
    const PeDataDirectory& resources = headers.directories[PeResourceDirectory];
    if (resources.address == 0 || resources.size == 0)
        return;
    ResourceWalk(reader, headers.sections, resources.address, list).Run();
}
