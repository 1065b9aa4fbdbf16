#include "ProgramImage.h"

#include <QBuffer>
#include <QImage>
#include <utility>

namespace testsupport {

void PutU16(std::string& s, std::size_t at, std::uint16_t value) {
    s[at] = static_cast<char>(value & 0xFF);
    s[at + 1] = static_cast<char>(value >> 8);
}

void PutU32(std::string& s, std::size_t at, std::uint32_t value) {
    PutU16(s, at, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(s, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::uint32_t GetU32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

ResourceItem Resource(std::uint32_t type, std::uint32_t id, std::string name, std::string data,
                      std::uint16_t language) {
    ResourceItem item;
    item.type = type;
    item.id = id;
    item.name = std::move(name);
    item.data = std::move(data);
    item.language = language;
    return item;
}

std::string ResourceBitmap(int bits, int width, int height, unsigned seed,
                           std::uint32_t compression, std::uint32_t colorsUsed) {
    std::string s(40, '\0');
    PutU32(s, 0, 40);
    PutU32(s, 4, static_cast<std::uint32_t>(width));
    PutU32(s, 8, static_cast<std::uint32_t>(height));
    PutU16(s, 12, 1);
    PutU16(s, 14, static_cast<std::uint16_t>(bits));
    PutU32(s, 16, compression);
    PutU32(s, 32, colorsUsed);
    const std::uint32_t colors = colorsUsed ? colorsUsed : bits <= 8 ? 1u << bits : 0;
    std::uint32_t state = seed * 2654435761u + 7;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<char>(state >> 24);
    };
    for (std::uint32_t i = 0; i < colors * 4; ++i)
        s += (i % 4 == 3) ? '\0' : next();
    if (compression == 3) { // 5-6-5 masks
        s += std::string("\x00\xF8\x00\x00\xE0\x07\x00\x00\x1F\x00\x00\x00", 12);
    }
    const int row = (width * bits + 31) / 32 * 4;
    for (int i = 0; i < row * height; ++i)
        s += next();
    PutU32(s, 20, static_cast<std::uint32_t>(row * height));
    return s;
}

namespace {

constexpr std::uint32_t kSectionAlign = 0x1000;
constexpr std::size_t kFileAlign = 0x200;

std::size_t Align(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

void PutEntry(std::string& s, std::size_t at, std::size_t name, std::size_t target) {
    PutU32(s, at, static_cast<std::uint32_t>(name));
    PutU32(s, at + 4, static_cast<std::uint32_t>(target));
}

// Runs of items that share a key, as [first, last) index pairs.
template <class Key>
std::vector<std::pair<std::size_t, std::size_t>> Runs(std::size_t from, std::size_t to, Key key) {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t i = from; i < to; ++i)
        if (runs.empty() || key(i) != key(runs.back().first))
            runs.push_back({i, i + 1});
        else
            runs.back().second = i + 1;
    return runs;
}

// The resource section, its offsets relative to the section: the directories
// (types, names, languages) first, then the data entries, the names and the
// data, as compilers lay them out. Items come in directory order; those of one
// type, and of one name in several languages, follow each other.
std::string ResourceSection(const std::vector<ResourceItem>& items, ProgramImage& image,
                            std::uint32_t address) {
    const std::size_t n = items.size();
    const auto types = Runs(0, n, [&](std::size_t i) { return items[i].type; });
    auto namesOf = [&](std::pair<std::size_t, std::size_t> type) {
        return Runs(type.first, type.second,
                    [&](std::size_t i) { return std::make_pair(items[i].name, items[i].id); });
    };
    std::size_t size = 16 + 8 * types.size();
    for (const auto& t : types)
        for (const auto& [first, last] : namesOf(t))
            size += (first == t.first ? 16 + 8 * namesOf(t).size() : 0) + 16 + 8 * (last - first);
    const std::size_t entries = size;
    size += 16 * n;
    std::vector<std::size_t> nameAt(n), dataAt(n);
    for (std::size_t i = 0; i < n; ++i)
        if (!items[i].name.empty()) {
            nameAt[i] = size;
            size += (2 + 2 * items[i].name.size() + 3) / 4 * 4;
        }
    for (std::size_t i = 0; i < n; ++i) {
        dataAt[i] = size;
        size += (items[i].data.size() + 7) / 8 * 8;
    }

    std::string s(size, '\0');
    image.dataEntryAt.assign(n, 0);
    image.nameEntryAt.assign(n, 0);
    image.dataAt = dataAt;
    PutU16(s, 14, static_cast<std::uint16_t>(types.size()));
    std::size_t next = 16 + 8 * types.size();
    for (std::size_t t = 0; t < types.size(); ++t) {
        const auto names = namesOf(types[t]);
        const std::size_t typeDir = next;
        image.typeEntryAt.push_back(16 + 8 * t);
        PutEntry(s, 16 + 8 * t, items[types[t].first].type, 0x80000000u | typeDir);
        std::uint16_t named = 0;
        for (const auto& [first, last] : names)
            named = static_cast<std::uint16_t>(named + !items[first].name.empty());
        PutU16(s, typeDir + 12, named);
        PutU16(s, typeDir + 14, static_cast<std::uint16_t>(names.size() - named));
        next = typeDir + 16 + 8 * names.size();
        for (std::size_t k = 0; k < names.size(); ++k) {
            const auto [first, last] = names[k];
            const std::size_t nameEntry = typeDir + 16 + 8 * k, langDir = next;
            PutEntry(s, nameEntry,
                     items[first].name.empty() ? items[first].id : 0x80000000u | nameAt[first],
                     0x80000000u | langDir);
            PutU16(s, langDir + 14, static_cast<std::uint16_t>(last - first));
            next = langDir + 16 + 8 * (last - first);
            for (std::size_t i = first; i < last; ++i) {
                image.nameEntryAt[i] = nameEntry;
                image.dataEntryAt[i] = entries + 16 * i;
                PutEntry(s, langDir + 16 + 8 * (i - first), items[i].language, entries + 16 * i);
                PutEntry(s, entries + 16 * i, address + dataAt[i], items[i].data.size());
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!items[i].name.empty()) {
            PutU16(s, nameAt[i], static_cast<std::uint16_t>(items[i].name.size()));
            for (std::size_t c = 0; c < items[i].name.size(); ++c)
                PutU16(s, nameAt[i] + 2 + 2 * c, static_cast<unsigned char>(items[i].name[c]));
        }
        s.replace(dataAt[i], items[i].data.size(), items[i].data);
    }
    return s;
}

} // namespace

ProgramImage ComposeProgram(const std::vector<ResourceItem>& items, bool is64) {
    ProgramImage image;
    const std::size_t peAt = 0x80;
    const std::size_t optionalSize = is64 ? 240 : 224;
    const std::size_t sectionTable = peAt + 24 + optionalSize;
    const std::size_t codeAt = Align(sectionTable + 2 * 40, kFileAlign);
    const std::size_t codeSize = kFileAlign;
    const std::uint32_t codeAddress = kSectionAlign;
    const std::uint32_t resourceAddress = 2 * kSectionAlign;
    image.resourceStart = codeAt + codeSize;
    image.resourceAddress = resourceAddress;
    std::string section = ResourceSection(items, image, resourceAddress);
    for (auto* offsets :
         {&image.dataEntryAt, &image.nameEntryAt, &image.dataAt, &image.typeEntryAt})
        for (std::size_t& at : *offsets)
            at += image.resourceStart;
    const std::size_t sectionSize = Align(section.size(), kFileAlign);
    section.resize(sectionSize, '\0');

    std::string& s = image.bytes;
    s.assign(image.resourceStart, '\0');
    s[0] = 'M';
    s[1] = 'Z';
    PutU32(s, 60, static_cast<std::uint32_t>(peAt));
    s.replace(peAt, 4, std::string("PE\0\0", 4));
    PutU16(s, peAt + 4, is64 ? 0x8664 : 0x14C);
    PutU16(s, peAt + 6, 2);
    PutU16(s, peAt + 20, static_cast<std::uint16_t>(optionalSize));
    PutU16(s, peAt + 22, 0x0102);
    const std::size_t opt = peAt + 24;
    PutU16(s, opt, is64 ? 0x20B : 0x10B);
    PutU32(s, opt + 32, kSectionAlign);
    PutU32(s, opt + 36, kFileAlign);
    const std::size_t directories = opt + (is64 ? 112 : 96);
    PutU32(s, directories - 4, 16);
    PutU32(s, directories + 16, resourceAddress);
    PutU32(s, directories + 20, static_cast<std::uint32_t>(section.size()));
    auto putSection = [&s](std::size_t at, const char* name, std::uint32_t address,
                           std::size_t size, std::size_t offset) {
        s.replace(at, 8, std::string(name).append(8 - std::string(name).size(), '\0'));
        PutU32(s, at + 8, static_cast<std::uint32_t>(size));
        PutU32(s, at + 12, address);
        PutU32(s, at + 16, static_cast<std::uint32_t>(size));
        PutU32(s, at + 20, static_cast<std::uint32_t>(offset));
    };
    putSection(sectionTable, ".text", codeAddress, codeSize, codeAt);
    putSection(sectionTable + 40, ".rsrc", resourceAddress, sectionSize, image.resourceStart);
    // Code bytes with a "BM" here and there, none starting a bitmap.
    for (std::size_t i = codeAt; i < codeAt + codeSize; ++i)
        s[i] = static_cast<char>(i % 64 == 0 ? 'B' : i % 64 == 1 ? 'M' : 0x90);
    s += section;
    return image;
}

} // namespace testsupport

namespace testsupport {

namespace {

std::string Filled(std::size_t n, unsigned seed) {
    std::string s;
    std::uint32_t state = seed * 2246822519u + 3;
    for (std::size_t i = 0; i < n; ++i) {
        state = state * 1664525u + 1013904223u;
        s += static_cast<char>(state >> 24);
    }
    return s;
}

} // namespace

std::string IconImage(int bits, int width, int height, unsigned seed) {
    std::string s = ResourceBitmap(bits, width, height, seed);
    PutU32(s, 8, static_cast<std::uint32_t>(2 * height));
    const int maskRow = (width + 31) / 32 * 4;
    return s + Filled(static_cast<std::size_t>(maskRow * height), seed + 99);
}

std::string PngImage(int side, unsigned seed) {
    QImage image(side, side, QImage::Format_ARGB32);
    const std::string colours = Filled(static_cast<std::size_t>(side) * side * 4, seed);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * side + x) * 4;
            image.setPixel(x, y,
                           qRgba(static_cast<unsigned char>(colours[at]),
                                 static_cast<unsigned char>(colours[at + 1]),
                                 static_cast<unsigned char>(colours[at + 2]),
                                 static_cast<unsigned char>(colours[at + 3])));
        }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string CursorImage(std::uint16_t x, std::uint16_t y, const std::string& image) {
    std::string s(4, '\0');
    PutU16(s, 0, x);
    PutU16(s, 2, y);
    return s + image;
}

std::string GroupData(const std::vector<GroupEntry>& entries, bool cursor) {
    std::string s(6 + 14 * entries.size(), '\0');
    PutU16(s, 2, cursor ? 2 : 1);
    PutU16(s, 4, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const GroupEntry& e = entries[i];
        const std::size_t at = 6 + 14 * i;
        if (cursor) {
            PutU16(s, at, e.width);
            PutU16(s, at + 2, e.height);
        } else {
            s[at] = static_cast<char>(e.width);
            s[at + 1] = static_cast<char>(e.height);
            s[at + 2] = static_cast<char>(e.colors);
        }
        PutU16(s, at + 4, e.planes);
        PutU16(s, at + 6, e.bitCount);
        PutU32(s, at + 8, e.bytesInRes);
        PutU16(s, at + 12, e.id);
    }
    return s;
}

NeProgramImage ComposeNeProgram(const std::vector<ResourceItem>& items, std::uint16_t shift) {
    NeProgramImage image;
    const std::size_t n = items.size();
    auto typeKey = [&](std::size_t i) {
        return items[i].typeName.empty() ? std::to_string(items[i].type) : "$" + items[i].typeName;
    };
    const auto types = Runs(0, n, typeKey);
    // The table: the shift, 8 bytes per type and 12 per item, the ending 0,
    // then the names as counted strings and a 0 byte.
    std::size_t tableSize = 2 + 8 * types.size() + 12 * n + 2;
    std::vector<std::size_t> typeNameAt(types.size()), nameAt(n);
    for (std::size_t t = 0; t < types.size(); ++t)
        if (!items[types[t].first].typeName.empty()) {
            typeNameAt[t] = tableSize;
            tableSize += 1 + items[types[t].first].typeName.size();
        }
    for (std::size_t i = 0; i < n; ++i)
        if (!items[i].name.empty()) {
            nameAt[i] = tableSize;
            tableSize += 1 + items[i].name.size();
        }
    tableSize += 1;

    image.headerAt = 0x80;
    image.tableAt = image.headerAt + 0x40;
    const std::size_t namesAt = image.tableAt + tableSize; // resident names: the module's, then 0
    const std::string module = "\x04TOOL\0\0\0";
    const std::size_t unit = std::size_t{1} << shift;
    std::size_t dataAt = Align(namesAt + module.size() + 1, unit);

    std::string& s = image.bytes;
    s.assign(dataAt, '\0');
    s[0] = 'M';
    s[1] = 'Z';
    PutU16(s, 2, 0x80); // bytes in the last page
    PutU16(s, 4, 1);    // pages
    PutU16(s, 8, 4);    // header paragraphs
    PutU16(s, 0x18, 0x40);
    PutU32(s, 60, static_cast<std::uint32_t>(image.headerAt));
    const std::size_t h = image.headerAt;
    s[h] = 'N';
    s[h + 1] = 'E';
    s[h + 2] = 5;
    const auto rel = [h](std::size_t at) { return static_cast<std::uint16_t>(at - h); };
    PutU16(s, h + 0x04, rel(namesAt + module.size())); // entry table
    PutU16(s, h + 0x22, 0x40);                         // segment table (empty)
    PutU16(s, h + 0x24, rel(image.tableAt));
    PutU16(s, h + 0x26, rel(namesAt));
    PutU16(s, h + 0x28, rel(namesAt + module.size())); // module references
    PutU16(s, h + 0x2A, rel(namesAt + module.size())); // imported names
    PutU16(s, h + 0x32, shift);
    s[h + 0x36] = 2; // Windows
    s.replace(namesAt, module.size(), module);

    std::size_t at = image.tableAt;
    PutU16(s, at, shift);
    at += 2;
    image.entryAt.assign(n, 0);
    image.dataAt.assign(n, 0);
    std::string data;
    for (std::size_t t = 0; t < types.size(); ++t) {
        const auto [first, last] = types[t];
        image.typeAt.push_back(at);
        PutU16(s, at,
               items[first].typeName.empty()
                   ? static_cast<std::uint16_t>(0x8000 | items[first].type)
                   : static_cast<std::uint16_t>(typeNameAt[t]));
        PutU16(s, at + 2, static_cast<std::uint16_t>(last - first));
        at += 8;
        for (std::size_t i = first; i < last; ++i) {
            const std::size_t length = Align(items[i].data.size(), unit);
            image.entryAt[i] = at;
            image.dataAt[i] = dataAt + data.size();
            PutU16(s, at, static_cast<std::uint16_t>(image.dataAt[i] >> shift));
            PutU16(s, at + 2, static_cast<std::uint16_t>(length >> shift));
            PutU16(s, at + 4, 0x1030); // moveable, pure, discardable
            PutU16(s, at + 6,
                   items[i].name.empty() ? static_cast<std::uint16_t>(0x8000 | items[i].id)
                                         : static_cast<std::uint16_t>(nameAt[i]));
            at += 12;
            data += items[i].data;
            data.append(length - items[i].data.size(), '\xA5');
        }
    }
    auto putName = [&](std::size_t offset, const std::string& name) {
        s[image.tableAt + offset] = static_cast<char>(name.size());
        s.replace(image.tableAt + offset + 1, name.size(), name);
    };
    for (std::size_t t = 0; t < types.size(); ++t)
        if (!items[types[t].first].typeName.empty())
            putName(typeNameAt[t], items[types[t].first].typeName);
    for (std::size_t i = 0; i < n; ++i)
        if (!items[i].name.empty())
            putName(nameAt[i], items[i].name);
    s += data;
    return image;
}

} // namespace testsupport
