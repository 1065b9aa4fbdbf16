#include "platform/KeptListing.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <linux/magic.h>
#include <mutex>
#include <sys/vfs.h>
#include <unistd.h>

#include "platform/WinError.h"

namespace platform {

namespace {

// Every change to a directory's entries (one added, removed, renamed or
// replaced) moves its modification and change times; its identity tells it
// from another directory put in its place.
struct DirStamp {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    timespec changed{};

    DirStamp() = default;
    explicit DirStamp(const struct stat& st)
        : device(st.st_dev), inode(st.st_ino), modified(st.st_mtim), changed(st.st_ctim) {}

    bool operator==(const DirStamp& o) const {
        return device == o.device && inode == o.inode && Same(modified, o.modified) &&
               Same(changed, o.changed);
    }
    static bool Same(const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }
};

// File systems take their time stamps from a clock that ticks in steps, so
// two changes within one step can leave the same times behind. A listing
// proves nothing about changes still to come until the directory's last
// change lies well behind the moment it was read.
constexpr long long kSettleNanoseconds = 1'000'000'000;

long long Nanoseconds(const timespec& t) {
    return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool SettledBefore(const struct stat& st, const timespec& readStart) {
    const long long last = std::max(Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim));
    return last + kSettleNanoseconds <= Nanoseconds(readStart);
}

// Only local file systems whose times move with every change and come from
// this machine's clock; a network share may be changed by another machine
// whose clock and caching we cannot vouch for.
bool KeepsExactTimes(int dirFd) {
    struct statfs fs {};
    if (fstatfs(dirFd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
    case OVERLAYFS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

// The one listing kept: of the directory shown last, never of two.
struct Kept {
    std::mutex mutex;
    std::string hostDir;
    DirStamp stamp;
    std::shared_ptr<const DirListing> listing;
};

Kept& TheKept() {
    static Kept kept;
    return kept;
}

// Reads the directory; keeps the listing when nothing could have changed
// unseen, else drops what was kept.
std::shared_ptr<const DirListing> ReadAndMaybeKeep(const std::string& hostDir, int& error) {
    timespec readStart{};
    clock_gettime(CLOCK_REALTIME, &readStart);
    const int fd = open(hostDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = WinErrorFromErrno(errno, false, true);
        return nullptr;
    }
    struct stat before {
    }, after{};
    const bool stamped = fstat(fd, &before) == 0;
    std::shared_ptr<const DirListing> listing = DirListing::Read(fd);
    if (!listing)
        error = WinErrorFromErrno(errno);
    const bool keep = listing && listing->Complete() && stamped && fstat(fd, &after) == 0 &&
                      DirStamp(before) == DirStamp(after) && SettledBefore(before, readStart) &&
                      KeepsExactTimes(fd);
    close(fd);

    Kept& kept = TheKept();
    const std::lock_guard lock(kept.mutex);
    kept.listing = keep ? listing : nullptr;
    kept.hostDir = keep ? hostDir : std::string();
    kept.stamp = DirStamp(before);
    return listing;
}

} // namespace

std::shared_ptr<const DirListing> ListDirectory(const std::string& hostDir, const struct stat& st,
                                                int& error) {
    error = ERROR_SUCCESS;
    {
        Kept& kept = TheKept();
        const std::lock_guard lock(kept.mutex);
        if (kept.listing && kept.hostDir == hostDir && kept.stamp == DirStamp(st))
            return kept.listing;
    }
    return ReadAndMaybeKeep(hostDir, error);
}

} // namespace platform
