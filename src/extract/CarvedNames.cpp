#include "extract/CarvedNames.h"

#include <cstdio>

#include "extract/ResourceFileNames.h"
#include "platform/Codepage.h"

std::string SourceFileName(const std::string& sourceName, std::int64_t offset,
                           std::string_view extension) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "%08llx", static_cast<unsigned long long>(offset));
    return FileNameSafe(FileStem(sourceName)) + "-" + hex + "." + std::string(extension);
}

std::string TNameBook::Claim(const std::string& name) {
    std::string claimed = name;
    const std::size_t dot = name.find_last_of('.');
    const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    for (int n = 2; !used_.insert(platform::FoldedName(claimed)).second; ++n)
        claimed = base + "-" + std::to_string(n) + extension;
    return claimed;
}
