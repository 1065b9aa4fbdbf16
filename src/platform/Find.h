#pragma once
// Find-first / find-next / find-close over the host file system.
//
// A drive root lists no "." and ".."; every other directory lists them first,
// then its entries ordered by name compared after upper-casing, as an NTFS
// volume delivers them. Patterns match the last component with '*' and '?',
// ignoring case.
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum FileAttr : int {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faAnyFile = 0x3F,
};

struct FindState;

// One entry found. Its attributes, size and time are read from the file
// system when first asked for, so that a walk needing only names costs no
// look-up per entry. They stay readable after FindClose; an entry that is
// gone by then reads as a plain empty file.
class TSearchRec {
public:
    std::string Name; // Windows-1252, with tokens for host characters without a form
    int Attr() const;
    std::int64_t Size() const;
    std::time_t Time() const; // last write, seconds since the epoch

    std::shared_ptr<FindState> state;

private:
    friend struct FindState;
    struct Details {
        int attr = 0;
        std::int64_t size = 0;
        std::time_t time = 0;
    };
    const Details& Read() const;

    std::shared_ptr<const std::string> hostDir_;
    std::string hostName_;
    mutable std::optional<Details> details_;
};

// 0 and the first entry, or 2 when nothing matches, 3 when the directory is
// missing (or another Windows error code).
int FindFirst(std::string_view pattern, int attr, TSearchRec& rec);
// 0 and the next entry, or 18 at the end.
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

// Does a name match a pattern of '*' and '?' (ignoring case; "*.*" matches
// every name)?
bool MatchesMask(std::string_view name, std::string_view mask);

} // namespace platform
