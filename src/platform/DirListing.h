#pragma once
// The entries of one host directory in listing order: by name compared after
// upper-casing, as an NTFS volume delivers them, ties broken by the host's own
// bytes. "." and ".." are not part of it. Names are listed as the Windows side
// spells them (HostNames.h). A listing read only to look names up is put in
// order when it is first walked, as sorting a large one costs more than
// reading it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
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

    // The entries equal to `windowsName` ignoring case, by index. Until the
    // listing is in order, it must not be shared between threads: the first
    // look-up makes an index of it.
    std::vector<std::size_t> EqualIgnoringCase(std::string_view windowsName) const;

    bool InOrder() const { return inOrder_; }
    void PutInOrder();

    // What the listing order compares of a name: its characters upper-cased,
    // as UTF-16 units high byte first. Equal keys are names equal ignoring
    // case.
    static std::string OrderKey(std::string_view windowsName);

    // This listing with the entries of `removed` host names left out and the
    // `added` ones put in, in order.
    std::shared_ptr<DirListing> Changed(const std::vector<std::string_view>& added,
                                        const std::unordered_set<std::string>& removed) const;

    // Reads the entries of the directory open as `dirFd`, in the host's
    // order; null with errno set when it cannot be opened for reading.
    static std::shared_ptr<DirListing> Read(int dirFd);
    // A listing of the host names given, in order.
    static std::shared_ptr<DirListing> Of(const std::vector<std::string_view>& hostNames);

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
    bool inOrder_ = true;
    // Until in order: entry index + 1 by the hash of its order key (0 for
    // an empty slot), probed linearly.
    mutable std::vector<std::uint32_t> index_;

    void Add(std::string_view hostName);
    void Sort();
    void MakeIndex() const;
    std::string_view NameOf(const Entry& e) const { return {text_.data() + e.name, e.nameLength}; }
    // The listing order of two entries.
    bool Before(const Entry& a, const Entry& b) const;
    std::string_view HostNameOf(const Entry& e) const;
};

} // namespace platform
