#include "ProgramImage.h"

#include <map>
#include <tuple>

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

// The key that orders entries as a resource compiler does: names first (by
// name), then ids ascending.
using EntryKey = std::tuple<bool, std::string, std::uint32_t>;
EntryKey KeyOf(const ResourceItem& item) {
    return {item.name.empty(), item.name, item.id};
}

void PutEntry(std::string& s, std::size_t at, std::uint32_t name, std::uint32_t target) {
    PutU32(s, at, name);
    PutU32(s, at + 4, target);
}

void PutDirectoryHead(std::string& s, std::size_t at, std::uint16_t named, std::uint16_t ids) {
    PutU16(s, at + 12, named);
    PutU16(s, at + 14, ids);
}

// The resource section's bytes, its offsets kept relative to the section.
std::string ResourceSection(const std::vector<ResourceItem>& items, ProgramImage& image,
                            std::uint32_t address) {
    // type -> name -> indices of the items (one per language)
    std::map<std::uint32_t, std::map<EntryKey, std::vector<std::size_t>>> tree;
    for (std::size_t i = 0; i < items.size(); ++i)
        tree[items[i].type][KeyOf(items[i])].push_back(i);

    // Directories first, then data entries, names and data, as compilers lay them out.
    std::size_t size = 16 + 8 * tree.size();
    for (const auto& [type, names] : tree) {
        size += 16 + 8 * names.size();
        for (const auto& [key, langs] : names)
            size += 16 + 8 * langs.size();
    }
    const std::size_t entries = size;
    size += 16 * items.size();
    std::map<std::string, std::size_t> nameAt;
    for (const ResourceItem& item : items)
        if (!item.name.empty() && !nameAt.count(item.name)) {
            nameAt[item.name] = size;
            size += Align(2 + 2 * item.name.size(), 4);
        }
    std::vector<std::size_t> dataAt(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        dataAt[i] = size;
        size += Align(items[i].data.size(), 8);
    }

    std::string s(size, '\0');
    image.dataEntryAt.assign(items.size(), 0);
    image.nameEntryAt.assign(items.size(), 0);
    image.dataAt = dataAt;
    image.typeEntryAt.clear();
    std::size_t next = 16 + 8 * tree.size();
    PutDirectoryHead(s, 0, 0, static_cast<std::uint16_t>(tree.size()));
    std::size_t typeIndex = 0;
    for (const auto& [type, names] : tree) {
        const std::size_t typeDir = next;
        image.typeEntryAt.push_back(16 + 8 * typeIndex);
        PutEntry(s, 16 + 8 * typeIndex++, type, 0x80000000u | static_cast<std::uint32_t>(typeDir));
        std::uint16_t named = 0;
        for (const auto& [key, langs] : names)
            named = static_cast<std::uint16_t>(named + (std::get<0>(key) ? 0 : 1));
        PutDirectoryHead(s, typeDir, named, static_cast<std::uint16_t>(names.size() - named));
        next = typeDir + 16 + 8 * names.size();
        std::size_t nameIndex = 0;
        for (const auto& [key, langs] : names) {
            const ResourceItem& first = items[langs.front()];
            const std::size_t nameEntry = typeDir + 16 + 8 * nameIndex++;
            const std::uint32_t nameField =
                first.name.empty() ? first.id
                                   : 0x80000000u | static_cast<std::uint32_t>(nameAt[first.name]);
            const std::size_t langDir = next;
            PutEntry(s, nameEntry, nameField, 0x80000000u | static_cast<std::uint32_t>(langDir));
            PutDirectoryHead(s, langDir, 0, static_cast<std::uint16_t>(langs.size()));
            next = langDir + 16 + 8 * langs.size();
            for (std::size_t l = 0; l < langs.size(); ++l) {
                const std::size_t i = langs[l];
                const std::size_t dataEntry = entries + 16 * i;
                image.nameEntryAt[i] = nameEntry;
                image.dataEntryAt[i] = dataEntry;
                PutEntry(s, langDir + 16 + 8 * l, items[i].language,
                         static_cast<std::uint32_t>(dataEntry));
                PutU32(s, dataEntry, address + static_cast<std::uint32_t>(dataAt[i]));
                PutU32(s, dataEntry + 4, static_cast<std::uint32_t>(items[i].data.size()));
            }
        }
    }
    for (const auto& [name, at] : nameAt) {
        PutU16(s, at, static_cast<std::uint16_t>(name.size()));
        for (std::size_t c = 0; c < name.size(); ++c)
            PutU16(s, at + 2 + 2 * c, static_cast<unsigned char>(name[c]));
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        s.replace(dataAt[i], items[i].data.size(), items[i].data);
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
