#include "platform/DirListing.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <unistd.h>
#include <utility>

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

// A name's characters upper-cased as UTF-16 units, as an NTFS volume
// compares them, one at a time.
class FoldedUnits {
public:
    explicit FoldedUnits(std::string_view name) : name_(name) {}

    // The next unit, or -1 at the end.
    int Next() {
        if (low_ != 0)
            return std::exchange(low_, 0);
        if (at_ >= name_.size())
            return -1;
        if (name_[at_] != TokenMark)
            return folded_[static_cast<unsigned char>(name_[at_++])];
        const Character c = CharacterAt(name_, at_);
        at_ += c.length;
        const char32_t cp = FoldCharacter(c.codePoint);
        if (cp <= 0xFFFF)
            return static_cast<int>(cp);
        low_ = static_cast<int>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        return static_cast<int>(0xD800 + ((cp - 0x10000) >> 10));
    }

private:
    const std::array<char16_t, 256>& folded_ = FoldedBytes();
    std::string_view name_;
    std::size_t at_ = 0;
    int low_ = 0;
};

// A name's sort key written at `key`: its folded units, each high byte
// first, so that keys compare as plain bytes in listing order. It takes at
// most twice the name's bytes (a token of seven bytes is two units at most);
// returns its end.
char* PutSortKey(char* key, std::string_view name) {
    FoldedUnits units(name);
    for (int u; (u = units.Next()) >= 0;)
        key = PutUnit(key, static_cast<char32_t>(u));
    return key;
}

// The order of two names' keys, without writing them out.
int CompareFolded(std::string_view a, std::string_view b) {
    FoldedUnits x(a), y(b);
    for (;;) {
        const int u = x.Next(), v = y.Next();
        if (u != v)
            return u < v ? -1 : 1;
        if (u < 0)
            return 0;
    }
}

// FNV-1a over the bytes of a name's key.
std::size_t KeyHash(std::string_view name) {
    std::uint64_t h = 14695981039346656037ull;
    const auto mix = [&h](int byte) {
        h ^= static_cast<unsigned>(byte);
        h *= 1099511628211ull;
    };
    FoldedUnits units(name);
    for (int u; (u = units.Next()) >= 0;) {
        mix(u >> 8);
        mix(u & 0xFF);
    }
    return static_cast<std::size_t>(h ^ (h >> 32));
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

std::string DirListing::OrderKey(std::string_view windowsName) {
    std::string key(2 * windowsName.size(), '\0');
    key.resize(static_cast<std::size_t>(PutSortKey(key.data(), windowsName) - key.data()));
    return key;
}

bool DirListing::Before(const Entry& a, const Entry& b) const {
    const int byKey = CompareFolded(NameOf(a), NameOf(b));
    return byKey != 0 ? byKey < 0 : HostNameOf(a) < HostNameOf(b);
}

std::vector<std::size_t> DirListing::EqualIgnoringCase(std::string_view windowsName) const {
    std::vector<std::size_t> equal;
    if (inOrder_) {
        // Ranks and units order names alike, so the units of the name can be
        // compared with those of any listing, whichever key it was sorted by.
        auto at = std::lower_bound(entries_.begin(), entries_.end(), windowsName,
                                   [this](const Entry& e, std::string_view name) {
                                       return CompareFolded(NameOf(e), name) < 0;
                                   });
        for (; at != entries_.end() && CompareFolded(NameOf(*at), windowsName) == 0; ++at)
            equal.push_back(static_cast<std::size_t>(at - entries_.begin()));
        return equal;
    }
    if (index_.empty())
        MakeIndex();
    const std::size_t mask = index_.size() - 1;
    for (std::size_t slot = KeyHash(windowsName) & mask; index_[slot] != 0;
         slot = (slot + 1) & mask)
        if (CompareFolded(NameOf(entries_[index_[slot] - 1]), windowsName) == 0)
            equal.push_back(index_[slot] - 1);
    return equal;
}

void DirListing::MakeIndex() const {
    std::size_t tableSize = 16;
    while (tableSize < 2 * entries_.size())
        tableSize *= 2;
    index_.assign(tableSize, 0);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::size_t slot = KeyHash(NameOf(entries_[i])) & (tableSize - 1);
        while (index_[slot] != 0)
            slot = (slot + 1) & (tableSize - 1);
        index_[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

void DirListing::PutInOrder() {
    if (inOrder_)
        return;
    Sort();
    inOrder_ = true;
    index_.clear();
    index_.shrink_to_fit();
}

std::shared_ptr<DirListing>
DirListing::Changed(const std::vector<std::string_view>& added,
                    const std::unordered_set<std::string>& removed) const {
    auto changed = std::make_shared<DirListing>();
    changed->text_ = text_;
    changed->entries_ = entries_;
    changed->complete_ = complete_;
    changed->tokens_ = tokens_;
    if (!removed.empty())
        std::erase_if(changed->entries_, [&](const Entry& e) {
            return removed.count(std::string(HostNameOf(e))) > 0;
        });
    const auto kept = static_cast<std::ptrdiff_t>(changed->entries_.size());
    for (const std::string_view name : added)
        changed->Add(name);
    if (!inOrder_) {
        changed->Sort();
        return changed;
    }
    // The few names added go in among the entries already in order.
    const auto before = [&changed](const Entry& a, const Entry& b) {
        return changed->Before(a, b);
    };
    const auto mid = changed->entries_.begin() + kept;
    std::sort(mid, changed->entries_.end(), before);
    std::inplace_merge(changed->entries_.begin(), mid, changed->entries_.end(), before);
    return changed;
}

std::shared_ptr<DirListing> DirListing::Of(const std::vector<std::string_view>& hostNames) {
    auto listing = std::make_shared<DirListing>();
    for (const std::string_view name : hostNames)
        listing->Add(name);
    listing->Sort();
    return listing;
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
    listing->inOrder_ = false;
    return listing;
}

} // namespace platform
