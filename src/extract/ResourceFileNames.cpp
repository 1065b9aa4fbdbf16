#include "extract/ResourceFileNames.h"

#include <set>
#include <string_view>

#include "platform/Codepage.h"

namespace {

constexpr std::size_t kMaxNamePart = 64;

bool Forbidden(unsigned char c) {
    // Control characters, then the bytes Windows-1252 assigns no character.
    return c < 32 || c == 127 || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D ||
           std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

// The name as a case-blind file system compares it.
std::u32string Folded(const std::string& name) {
    std::u32string folded;
    for (const char c : name)
        folded += platform::FoldForCompare(static_cast<unsigned char>(c));
    return folded;
}

} // namespace

std::string FileNameSafe(const std::string& name) {
    std::string part = name.substr(0, kMaxNamePart);
    for (char& c : part)
        if (Forbidden(static_cast<unsigned char>(c)))
            c = '_';
    return part;
}

std::string FileStem(const std::string& fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

std::vector<std::string> ResourceFileNames(const std::string& programName,
                                           const std::vector<ResourceFileName>& resources) {
    const std::string stem = FileStem(programName);
    std::vector<std::string> names;
    std::set<std::u32string> used;
    auto taken = [&used](const std::string& name) { return used.count(Folded(name)) > 0; };
    for (const ResourceFileName& r : resources) {
        const std::string base = stem + "-" + FileNameSafe(r.name);
        const std::string dot = "." + r.extension;
        std::string name = base;
        if (taken(name + dot))
            name = base + "-" + std::to_string(r.language);
        for (int n = 2; taken(name + dot); ++n)
            name = base + "-" + std::to_string(r.language) + "-" + std::to_string(n);
        used.insert(Folded(name + dot));
        names.push_back(name + dot);
    }
    return names;
}
