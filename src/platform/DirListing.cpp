#include "platform/DirListing.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <unistd.h>

#include "platform/Codepage.h"

namespace platform {

namespace {

// Each byte's place in the listing order: the rank of its upper-cased code
// point. Comparing ranks byte by byte orders names exactly as comparing the
// code points would, with plain memcmp.
const std::array<unsigned char, 256>& OrderRanks() {
    static const std::array<unsigned char, 256> ranks = [] {
        std::array<char32_t, 256> folded{};
        for (int c = 0; c < 256; ++c)
            folded[c] = FoldForCompare(static_cast<unsigned char>(c));
        std::array<char32_t, 256> sorted = folded;
        std::sort(sorted.begin(), sorted.end());
        std::array<unsigned char, 256> r{};
        for (int c = 0; c < 256; ++c)
            r[c] = static_cast<unsigned char>(
                std::lower_bound(sorted.begin(), sorted.end(), folded[c]) - sorted.begin());
        return r;
    }();
    return ranks;
}

// A host name as listed: a character without a Windows-1252 form, or a
// backslash, cannot be spelled in a Windows path and shows as '?'.
std::string ListedName(std::string_view hostName) {
    std::string name = Utf8ToAnsi(hostName);
    std::replace(name.begin(), name.end(), '\\', '?');
    return name;
}

bool ListedAsIs(std::string_view hostName) {
    return std::all_of(hostName.begin(), hostName.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80 && c != '\\'; });
}

} // namespace

void DirListing::Add(std::string_view hostName) {
    Entry e{};
    e.host = static_cast<std::uint32_t>(text_.size());
    e.hostLength = static_cast<std::uint16_t>(hostName.size());
    text_.append(hostName);
    if (ListedAsIs(hostName)) {
        e.name = e.host; // plain ASCII: the same bytes either way
        e.nameLength = e.hostLength;
    } else {
        const std::string name = ListedName(hostName);
        e.name = static_cast<std::uint32_t>(text_.size());
        e.nameLength = static_cast<std::uint16_t>(name.size());
        text_.append(name);
    }
    entries_.push_back(e);
}

void DirListing::Sort() {
    // Sort keys side by side with the names, for the sort only.
    const auto& rank = OrderRanks();
    std::string keys(text_.size(), '\0');
    for (const Entry& e : entries_)
        for (std::size_t i = 0; i < e.nameLength; ++i)
            keys[e.name + i] =
                static_cast<char>(rank[static_cast<unsigned char>(text_[e.name + i])]);
    const char* key = keys.data();
    std::sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) {
        const int byKey = std::string_view(key + a.name, a.nameLength)
                              .compare(std::string_view(key + b.name, b.nameLength));
        if (byKey != 0)
            return byKey < 0;
        return HostNameOf(a) < HostNameOf(b);
    });
}

std::string_view DirListing::HostNameOf(const Entry& e) const {
    return {text_.data() + e.host, e.hostLength};
}

std::shared_ptr<DirListing> DirListing::Read(int dirFd) {
    const int fd = dup(dirFd);
    if (fd < 0)
        return nullptr;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        const int saved = errno;
        close(fd);
        errno = saved;
        return nullptr;
    }
    // Reading goes from the directory's start whatever the descriptor has
    // been used for.
    rewinddir(dir);
    auto listing = std::make_shared<DirListing>();
    errno = 0;
    while (const dirent* e = readdir(dir)) {
        const std::string_view hostName = e->d_name;
        if (hostName != "." && hostName != "..")
            listing->Add(hostName);
    }
    listing->complete_ = errno == 0;
    closedir(dir);
    listing->Sort();
    return listing;
}

} // namespace platform
