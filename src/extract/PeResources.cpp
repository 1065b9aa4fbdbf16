#include "extract/PeResources.h"

#include <QString>
#include <set>

#include "platform/Codepage.h"
#include "platform/LittleEndian.h"

using platform::DoubleWord;
using platform::Word;

namespace {

constexpr std::uint32_t kBitmapType = 2;
constexpr std::uint32_t kHighBit = 0x80000000u;
// No honest program holds nearly as many; it bounds the work a crafted
// directory can cause.
constexpr std::int64_t kMaxEntries = 1 << 20;

std::string Hex(std::uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), digits[value % 16]);
        value /= 16;
    } while (value);
    return "0x" + s;
}

struct Section {
    std::uint32_t address = 0; // relative virtual address
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

struct DirectoryEntry {
    bool named = false;
    std::uint32_t id = 0; // the id, or the offset of the name
    bool isDirectory = false;
    std::uint32_t target = 0; // offset of the subdirectory or data entry
};

// Reads of the file that never reach outside it.
class Reader {
public:
    explicit Reader(platform::FileObject& file) : file_(file), size_(file.Size()) {}

    bool Read(std::int64_t at, void* buffer, std::int64_t n) {
        if (at < 0 || n < 0 || at > size_ || n > size_ - at)
            return false;
        file_.Seek(at);
        return file_.Read(buffer, n) == n;
    }
    std::int64_t Size() const { return size_; }

private:
    platform::FileObject& file_;
    std::int64_t size_;
};

class ResourceWalk {
public:
    ResourceWalk(Reader& reader, std::vector<Section> sections, std::uint32_t rootAddress,
                 PeResourceList& list)
        : reader_(reader), sections_(std::move(sections)), root_(rootAddress), list_(list) {}

    void Run();

private:
    bool FileOffset(std::uint64_t address, std::uint64_t length, std::int64_t& offset) const;
    bool ReadDirectory(std::uint32_t at, std::vector<DirectoryEntry>& entries);
    std::string EntryName(const DirectoryEntry& e);
    void TakeName(const DirectoryEntry& nameEntry);
    void TakeData(const std::string& name, std::uint16_t language, std::uint32_t at);
    void Problem(const std::string& text) { list_.problems.push_back(text); }

    Reader& reader_;
    std::vector<Section> sections_;
    std::uint32_t root_;
    PeResourceList& list_;
    std::set<std::uint32_t> visited_;
    std::int64_t entriesRead_ = 0;
};

// The file offset of `length` bytes at a relative virtual address: they must
// lie in the stored bytes of one section.
bool ResourceWalk::FileOffset(std::uint64_t address, std::uint64_t length,
                              std::int64_t& offset) const {
    for (const Section& s : sections_) {
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
        Problem("the resource directory at " + Hex(at) + " is reached twice (a loop)");
        return false;
    }
    unsigned char head[16];
    std::int64_t offset = 0;
    if (!FileOffset(std::uint64_t{root_} + at, sizeof head, offset) ||
        !reader_.Read(offset, head, sizeof head)) {
        Problem("the resource directory at " + Hex(at) + " lies outside the file");
        return false;
    }
    const std::int64_t count = std::int64_t{Word(head + 12)} + Word(head + 14);
    entriesRead_ += count;
    if (entriesRead_ > kMaxEntries) {
        Problem("the resource directory holds more than " + std::to_string(kMaxEntries) +
                " entries");
        return false;
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(count) * 8);
    if (!FileOffset(std::uint64_t{root_} + at + 16, bytes.size(), offset) ||
        !reader_.Read(offset, bytes.data(), std::ssize(bytes))) {
        Problem("the entries of the resource directory at " + Hex(at) + " reach outside the file");
        return false;
    }
    entries.clear();
    for (std::int64_t i = 0; i < count; ++i) {
        const unsigned char* e = bytes.data() + i * 8;
        const std::uint32_t name = DoubleWord(e), target = DoubleWord(e + 4);
        entries.push_back({(name & kHighBit) != 0, name & ~kHighBit, (target & kHighBit) != 0,
                           target & ~kHighBit});
    }
    return true;
}

// An id in decimal, or the stored name: a count of UTF-16 units, then the units.
std::string ResourceWalk::EntryName(const DirectoryEntry& e) {
    if (!e.named)
        return std::to_string(e.id);
    unsigned char length[2];
    std::int64_t offset = 0;
    if (FileOffset(std::uint64_t{root_} + e.id, 2, offset) && reader_.Read(offset, length, 2)) {
        std::vector<unsigned char> units(std::size_t{Word(length)} * 2);
        if (FileOffset(std::uint64_t{root_} + e.id + 2, units.size(), offset) &&
            reader_.Read(offset, units.data(), std::ssize(units))) {
            QString text;
            for (std::size_t i = 0; i < units.size(); i += 2)
                text.append(QChar(Word(units.data() + i)));
            return platform::FromQt(text);
        }
    }
    Problem("the name at " + Hex(e.id) + " lies outside the file");
    return "name" + Hex(e.id);
}

void ResourceWalk::TakeData(const std::string& name, std::uint16_t language, std::uint32_t at) {
    unsigned char entry[16];
    std::int64_t offset = 0;
    if (!FileOffset(std::uint64_t{root_} + at, sizeof entry, offset) ||
        !reader_.Read(offset, entry, sizeof entry)) {
        Problem("bitmap " + name + ": its data entry lies outside the file");
        return;
    }
    PeBitmapResource bitmap{name, language, 0, DoubleWord(entry + 4)};
    if (!FileOffset(DoubleWord(entry), bitmap.size, bitmap.offset)) {
        Problem("bitmap " + name + ": " + std::to_string(bitmap.size) + " bytes at " +
                Hex(DoubleWord(entry)) + " reach outside the file");
        return;
    }
    list_.bitmaps.push_back(std::move(bitmap));
}

// A name's entries are its languages, each leading to the bitmap's data.
void ResourceWalk::TakeName(const DirectoryEntry& nameEntry) {
    const std::string name = EntryName(nameEntry);
    if (!nameEntry.isDirectory) {
        TakeData(name, 0, nameEntry.target);
        return;
    }
    std::vector<DirectoryEntry> languages;
    if (!ReadDirectory(nameEntry.target, languages))
        return;
    for (const DirectoryEntry& l : languages) {
        if (l.isDirectory)
            Problem("bitmap " + name + ": a directory where its data was due");
        else
            TakeData(name, static_cast<std::uint16_t>(l.id), l.target);
    }
}

void ResourceWalk::Run() {
    std::vector<DirectoryEntry> types;
    if (!ReadDirectory(0, types))
        return;
    for (const DirectoryEntry& t : types) {
        if (t.named || t.id != kBitmapType)
            continue;
        std::vector<DirectoryEntry> names;
        if (!t.isDirectory || !ReadDirectory(t.target, names)) {
            if (!t.isDirectory)
                Problem("the bitmap entry is no directory");
            continue;
        }
        for (const DirectoryEntry& n : names)
            TakeName(n);
    }
}

// The section table and the resource directory's address, from the headers.
bool ReadHeaders(Reader& reader, std::vector<Section>& sections, std::uint32_t& resources,
                 std::uint32_t& resourceSize) {
    unsigned char dos[64];
    if (!reader.Read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return false;
    const std::int64_t pe = DoubleWord(dos + 60);
    unsigned char coff[24];
    if (!reader.Read(pe, coff, sizeof coff) || DoubleWord(coff) != 0x00004550) // "PE\0\0"
        return false;
    const std::uint16_t sectionCount = Word(coff + 6), optionalSize = Word(coff + 20);
    std::vector<unsigned char> optional(optionalSize);
    if (optionalSize < 2 || !reader.Read(pe + 24, optional.data(), optionalSize))
        return false;
    // The data directories follow the fields of fixed size, 96 bytes of them
    // in a 32-bit file and 112 in a 64-bit one; the resource table is the third.
    const std::uint16_t magic = Word(optional.data());
    const std::size_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
    if (directories == 0)
        return false;
    resources = resourceSize = 0;
    if (optional.size() >= directories + 24 && DoubleWord(optional.data() + directories - 4) > 2) {
        resources = DoubleWord(optional.data() + directories + 16);
        resourceSize = DoubleWord(optional.data() + directories + 20);
    }
    std::vector<unsigned char> table(std::size_t{sectionCount} * 40);
    if (!reader.Read(pe + 24 + optionalSize, table.data(), std::ssize(table)))
        return false;
    for (std::size_t i = 0; i < table.size(); i += 40)
        sections.push_back(
            {DoubleWord(&table[i + 12]), DoubleWord(&table[i + 16]), DoubleWord(&table[i + 20])});
    return true;
}

} // namespace

PeResourceList ListBitmapResources(platform::FileObject& file) {
    PeResourceList list;
    Reader reader(file);
    std::vector<Section> sections;
    std::uint32_t resources = 0, resourceSize = 0;
    if (!ReadHeaders(reader, sections, resources, resourceSize))
        return list;
    list.isProgram = true;
    if (resources == 0 || resourceSize == 0)
        return list;
    ResourceWalk(reader, std::move(sections), resources, list).Run();
    return list;
}
