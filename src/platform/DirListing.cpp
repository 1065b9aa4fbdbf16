#include "platform/DirListing.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <unistd.h>

#include "platform/Codepage.h"
#include "platform/HostNames.h"

namespace platform {

namespace {

// The folded code point of each byte, looked up rather than worked out for
// every byte of a large listing.
const std::array<char16_t, 256>& FoldedBytes() {
    static const std::array<char16_t, 256> folded = [] {
        std::array<char16_t, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[c] = static_cast<char16_t>(FoldForCompare(static_cast<unsigned char>(c)));
        return t;
    }();
    return folded;
}

// Each byte's place in the listing order: the rank of its folded code point.
// Comparing ranks byte by byte orders names without tokens exactly as
// comparing the code points would, in one byte a character.
const std::array<unsigned char, 256>& OrderRanks() {
    static const std::array<unsigned char, 256> ranks = [] {
        std::array<char16_t, 256> sorted = FoldedBytes();
        std::sort(sorted.begin(), sorted.end());
        std::array<unsigned char, 256> r{};
        for (int c = 0; c < 256; ++c)
            r[c] = static_cast<unsigned char>(
                std::lower_bound(sorted.begin(), sorted.end(), FoldedBytes()[c]) - sorted.begin());
        return r;
    }();
    return ranks;
}

char* PutRankKey(char* key, std::string_view name) {
    const auto& rank = OrderRanks();
    for (const char c : name)
        *key++ = static_cast<char>(rank[static_cast<unsigned char>(c)]);
    return key;
}

char* PutUnit(char* key, char32_t unit) {
    *key++ = static_cast<char>(unit >> 8);
    *key++ = static_cast<char>(unit & 0xFF);
    return key;
}

// A name's sort key written at `key`: its characters upper-cased as UTF-16
// units, as an NTFS volume compares them, each unit high byte first, so that
// keys compare as plain bytes in that order. It takes at most twice the
// name's bytes (a token of seven bytes is two units at most); returns its
// end.
char* PutSortKey(char* key, std::string_view name) {
    const auto& folded = FoldedBytes();
    for (std::size_t i = 0; i < name.size();) {
        if (name[i] != TokenMark) {
            key = PutUnit(key, folded[static_cast<unsigned char>(name[i++])]);
            continue;
        }
        const Character c = CharacterAt(name, i);
        i += c.length;
        const char32_t cp = FoldCharacter(c.codePoint);
        if (cp > 0xFFFF) {
            key = PutUnit(key, 0xD800 + ((cp - 0x10000) >> 10));
            key = PutUnit(key, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            key = PutUnit(key, cp);
        }
    }
    return key;
}

} // namespace

void DirListing::Add(std::string_view hostName) {
    Entry e{};
    e.host = static_cast<std::uint32_t>(text_.size());
    e.hostLength = static_cast<std::uint16_t>(hostName.size());
    text_.append(hostName);
    if (SpelledAlike(hostName)) {
        e.name = e.host; // plain ASCII: the same bytes either way
        e.nameLength = e.hostLength;
    } else {
        const std::string name = WindowsName(hostName);
        tokens_ = tokens_ || name.find(TokenMark) != std::string::npos;
        e.name = static_cast<std::uint32_t>(text_.size());
        e.nameLength = static_cast<std::uint16_t>(name.size());
        text_.append(name);
    }
    entries_.push_back(e);
}

void DirListing::Sort() {
    // Sort keys side by side with the names, for the sort only: a name's key
    // starts at `width` times the name's place in the text. Without tokens a
    // byte's rank is its key; with them, characters take two bytes a unit.
    const std::size_t width = tokens_ ? 2 : 1;
    std::string keys(width * text_.size(), '\0');
    for (Entry& e : entries_) {
        char* start = keys.data() + width * e.name;
        const std::string_view name(text_.data() + e.name, e.nameLength);
        char* end = tokens_ ? PutSortKey(start, name) : PutRankKey(start, name);
        e.keyLength = static_cast<std::uint32_t>(end - start);
    }
    const auto key = [&](const Entry& e) {
        return std::string_view(keys.data() + width * e.name, e.keyLength);
    };
    std::sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) {
        const int byKey = key(a).compare(key(b));
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
