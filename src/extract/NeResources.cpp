#include "extract/NeResources.h"

#include "platform/LittleEndian.h"

using platform::ReadLe16;

namespace {

constexpr std::int64_t kHeaderSize = 64;
constexpr std::size_t kResourceTableAt = 0x24; // both relative to the header
constexpr std::size_t kResidentNamesAt = 0x26;
constexpr std::size_t kTargetSystemAt = 0x36;
constexpr unsigned char kOs2 = 1;
// Names are found by 16-bit offsets from the table's start, so no table is
// larger; it bounds what one is read into.
constexpr std::int64_t kMaxTableSize = 0x10000;
// Offsets are 16-bit counts of units: a larger unit would place resources
// terabytes into a file.
constexpr std::uint16_t kMaxUnitShift = 24;
constexpr std::uint16_t kIntegerId = 0x8000;
constexpr std::size_t kTypeInfoSize = 8;
constexpr std::size_t kNameInfoSize = 12;

bool IsPictureType(std::uint32_t type) {
    return type == RtCursor || type == RtBitmap || type == RtIcon || type == RtGroupCursor ||
           type == RtGroupIcon;
}

class TableWalk {
public:
    TableWalk(TBoundedReader& reader, std::int64_t tableAt, std::string table,
              ProgramResources& list)
        : reader_(reader), tableAt_(tableAt), table_(std::move(table)), list_(list) {}

    void Run();

private:
    bool Fits(std::size_t at, std::size_t n) const {
        return at <= table_.size() && n <= table_.size() - at;
    }
    std::string NameAt(std::uint16_t offset);
    void TakeResource(std::uint32_t type, std::size_t at, std::uint16_t shift);
    void Problem(const std::string& text) { list_.problems.push_back(text); }

    TBoundedReader& reader_;
    std::int64_t tableAt_;
    std::string table_;
    ProgramResources& list_;
};

// A counted string: its length in one byte, then its bytes (Windows-1252).
std::string TableWalk::NameAt(std::uint16_t offset) {
    if (Fits(offset, 1) &&
        Fits(offset + std::size_t{1}, static_cast<unsigned char>(table_[offset])))
        return table_.substr(offset + std::size_t{1}, static_cast<unsigned char>(table_[offset]));
    Problem("the name at " + HexText(static_cast<std::uint64_t>(tableAt_) + offset) +
            " lies outside the resource table");
    return "name" + HexText(offset);
}

void TableWalk::TakeResource(std::uint32_t type, std::size_t at, std::uint16_t shift) {
    ProgramResource resource;
    resource.type = type;
    const std::uint16_t id = ReadLe16(table_, at + 6);
    resource.named = (id & kIntegerId) == 0;
    resource.id = resource.named ? 0 : id & ~kIntegerId;
    resource.name = resource.named ? NameAt(id) : std::to_string(resource.id);
    const std::int64_t offset = std::int64_t{ReadLe16(table_, at)} << shift;
    const std::int64_t size = std::int64_t{ReadLe16(table_, at + 2)} << shift;
    if (!reader_.Inside(offset, size) || size > 0xFFFFFFFFLL) {
        Problem(std::string(ResourceTypeWord(type)) + " " + resource.name + ": " +
                std::to_string(size) + " bytes at " + HexText(static_cast<std::uint64_t>(offset)) +
                " reach outside the file");
        return;
    }
    resource.offset = offset;
    resource.size = static_cast<std::uint32_t>(size);
    list_.resources.push_back(std::move(resource));
}

// The table: the unit's shift, then for each type its id, its count of
// resources and four reserved bytes, followed by the resources' entries;
// a type id of 0 ends it.
void TableWalk::Run() {
    if (!Fits(0, 2)) {
        Problem("the resource table at " + HexText(static_cast<std::uint64_t>(tableAt_)) +
                " lies outside the file");
        return;
    }
    const std::uint16_t shift = ReadLe16(table_, 0);
    if (shift > kMaxUnitShift) {
        Problem("the resource table counts in units of 2^" + std::to_string(shift) +
                " bytes, which no program does");
        return;
    }
    list_.unit = std::uint32_t{1} << shift;
    for (std::size_t at = 2;;) {
        if (!Fits(at, 2) || (ReadLe16(table_, at) != 0 && !Fits(at, kTypeInfoSize))) {
            Problem("the resource table runs past its end at " +
                    HexText(static_cast<std::uint64_t>(tableAt_) + at));
            return;
        }
        const std::uint16_t typeId = ReadLe16(table_, at);
        if (typeId == 0)
            return;
        const std::uint16_t count = ReadLe16(table_, at + 2);
        at += kTypeInfoSize;
        if (!Fits(at, std::size_t{count} * kNameInfoSize)) {
            Problem("the " + std::to_string(count) + " resources of the type at " +
                    HexText(static_cast<std::uint64_t>(tableAt_) + at - kTypeInfoSize) +
                    " run past the end of the resource table");
            return;
        }
        // A named type is never one of the picture types.
        const std::uint32_t type = typeId & kIntegerId ? typeId & ~kIntegerId : 0;
        if (IsPictureType(type))
            for (std::size_t i = 0; i < count; ++i)
                TakeResource(type, at + i * kNameInfoSize, shift);
        at += std::size_t{count} * kNameInfoSize;
    }
}

} // namespace

void ListNeResources(TBoundedReader& reader, std::int64_t headerAt, ProgramResources& list) {
    std::string header;
    if (!reader.Read(headerAt, kHeaderSize, header)) {
        list.kind = ProgramKind::Ne;
        list.problems.push_back("the NE header at " +
                                HexText(static_cast<std::uint64_t>(headerAt)) +
                                " reaches past the end of the file");
        return;
    }
    if (static_cast<unsigned char>(header[kTargetSystemAt]) == kOs2)
        return;
    list.kind = ProgramKind::Ne;
    const std::int64_t tableAt = headerAt + ReadLe16(header, kResourceTableAt);
    const std::int64_t namesAt = headerAt + ReadLe16(header, kResidentNamesAt);
    if (tableAt == namesAt)
        return; // no resources
    // The resident names follow the table; where they do not, the table may
    // be as large as its 16-bit offsets reach.
    std::int64_t size = namesAt > tableAt ? namesAt - tableAt : kMaxTableSize;
    size = std::min(size, std::max<std::int64_t>(reader.Size() - tableAt, 0));
    std::string table;
    if (!reader.Read(tableAt, size, table)) {
        list.problems.push_back("the resource table at " +
                                HexText(static_cast<std::uint64_t>(tableAt)) +
                                " lies outside the file");
        return;
    }
    TableWalk(reader, tableAt, std::move(table), list).Run();
}
