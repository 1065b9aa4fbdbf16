#pragma once
// The entries of one host directory in listing order: by name compared after
// upper-casing, as an NTFS volume delivers them, ties broken by the host's own
// bytes. "." and ".." are not part of it. Names are listed as the Windows side
// spells them (HostNames.h).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class DirListing {
public:
    std::size_t Count() const { return entries_.size(); }
    // The name as listed (Windows-1252, with tokens where a character has no
    // form; shown as '?').
    std::string_view Name(std::size_t i) const {
        return {text_.data() + entries_[i].name, entries_[i].nameLength};
    }
    // The name as it is on disk.
    std::string_view HostName(std::size_t i) const {
        return {text_.data() + entries_[i].host, entries_[i].hostLength};
    }

    // False when reading stopped at an error: what was read is listed, but
    // it is not the whole directory.
    bool Complete() const { return complete_; }

    // Reads the entries of the directory open as `dirFd` and sorts them;
    // null with errno set when it cannot be opened for reading.
    static std::shared_ptr<DirListing> Read(int dirFd);

private:
    // Names are packed into one buffer: a directory of 100,000 glyphs then
    // costs a few megabytes rather than a few hundred thousand allocations.
    struct Entry {
        std::uint32_t name;
        std::uint32_t host;
        std::uint16_t nameLength;
        std::uint16_t hostLength;
        std::uint32_t keyLength; // while sorting: the length of its sort key
    };
    std::string text_;
    std::vector<Entry> entries_;
    bool complete_ = true;
    bool tokens_ = false; // some name holds a token

    void Add(std::string_view hostName);
    void Sort();
    std::string_view HostNameOf(const Entry& e) const;
};

} // namespace platform
