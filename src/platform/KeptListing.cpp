#include "platform/KeptListing.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <linux/magic.h>
#include <map>
#include <mutex>
#include <set>
#include <sys/vfs.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

#include "platform/DirWatch.h"
#include "platform/HostAccess.h"
#include "platform/HostNames.h"
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
        return SameDirectory(o) && Same(modified, o.modified) && Same(changed, o.changed);
    }
    bool SameDirectory(const DirStamp& o) const { return device == o.device && inode == o.inode; }
    static bool Same(const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }
};

// File systems take their time stamps from a clock that ticks in steps, so
// two changes within one step can leave the same times behind. Without a
// watch, a listing proves nothing about changes still to come until the
// directory's last change lies well behind the moment it was read.
constexpr long long kSettleNanoseconds = 1'000'000'000;

long long Nanoseconds(const timespec& t) {
    return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool SettledBefore(const struct stat& st, const timespec& readStart) {
    const long long last = std::max(Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim));
    return last + kSettleNanoseconds <= Nanoseconds(readStart);
}

// Only local file systems, whose times move with every change and whose
// changes this machine is told of; a network share may be changed by another
// machine whose clock and caching we cannot vouch for.
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

// A few directories: the one shown, the one written into, the one a dialog
// lists; more would only hold memory.
constexpr std::size_t kKeptDirectories = 4;

struct OwnChange {
    bool added;
    std::string name;
};

// One directory's listing as read, and what this layer changed in it since.
struct KeptDir {
    DirStamp stamp;      // when read: its identity, and without a watch its proof
    std::string hostDir; // the path it was read by, which this layer's changes name
    int watch = -1;
    std::shared_ptr<DirListing> listing;                // null: to be read again
    std::map<std::string, std::set<std::string>> added; // order key -> host names
    std::unordered_set<std::string> removed;            // host names of `listing`
    std::vector<OwnChange> pending; // own changes whose notices are still to come
    std::uint64_t lastUse = 0;

    void Forget() {
        listing.reset();
        added.clear();
        removed.clear();
        pending.clear();
    }

    bool InListing(std::string_view hostName) const {
        for (const std::size_t i : listing->EqualIgnoringCase(WindowsName(hostName)))
            if (listing->HostName(i) == hostName)
                return true;
        return false;
    }

    void Add(const std::string& hostName) {
        if (removed.erase(hostName) || InListing(hostName))
            return;
        added[DirListing::OrderKey(WindowsName(hostName))].insert(hostName);
    }

    void Remove(const std::string& hostName) {
        const auto it = added.find(DirListing::OrderKey(WindowsName(hostName)));
        if (it != added.end() && it->second.erase(hostName)) {
            if (it->second.empty())
                added.erase(it);
            return;
        }
        if (InListing(hostName))
            removed.insert(hostName);
    }

    // Of the entries equal to the name ignoring case, the first in listing
    // order: by host name, as the listing breaks ties.
    Listed LookUp(std::string_view hostName, std::string_view windowsName,
                  std::string& found) const {
        std::string first;
        bool exact = false;
        for (const std::size_t i : listing->EqualIgnoringCase(windowsName)) {
            const std::string_view h = listing->HostName(i);
            if (removed.count(std::string(h)))
                continue;
            exact = exact || h == hostName;
            if (first.empty() || h < first)
                first = h;
        }
        const auto it = added.find(DirListing::OrderKey(windowsName));
        if (it != added.end()) {
            exact = exact || it->second.count(std::string(hostName));
            if (first.empty() || *it->second.begin() < first)
                first = *it->second.begin();
        }
        if (exact)
            return Listed::AsSpelled;
        if (first.empty())
            return Listed::Missing;
        found = std::move(first);
        return Listed::OtherCase;
    }

    // The listing with this layer's changes in it, put in order once when
    // asked.
    std::shared_ptr<const DirListing> Current() {
        if (added.empty() && removed.empty()) {
            listing->PutInOrder();
            return listing;
        }
        std::vector<std::string_view> names;
        for (const auto& [key, hosts] : added)
            names.insert(names.end(), hosts.begin(), hosts.end());
        listing = listing->Changed(names, removed);
        added.clear();
        removed.clear();
        return listing;
    }

    bool TakeOwn(bool wasAdded, std::string_view name) {
        const auto it = std::find_if(pending.begin(), pending.end(), [&](const OwnChange& c) {
            return c.added == wasAdded && c.name == name;
        });
        if (it == pending.end())
            return false;
        pending.erase(it);
        return true;
    }
};

struct Kept {
    std::mutex mutex;
    std::vector<KeptDir> dirs;
    std::uint64_t clock = 0;

    KeptDir* Of(const struct stat& st) {
        for (KeptDir& d : dirs)
            if (d.stamp.SameDirectory(DirStamp(st)))
                return &d;
        return nullptr;
    }

    KeptDir* Watching(int watch) {
        for (KeptDir& d : dirs)
            if (d.watch == watch)
                return &d;
        return nullptr;
    }

    // Takes in what the watches noticed: a change this layer made and told
    // of leaves a listing as it is; any other drops it, to be read again.
    void TakeChanges() {
        if (std::none_of(dirs.begin(), dirs.end(), [](const KeptDir& d) { return d.watch >= 0; }))
            return;
        const bool expected = std::any_of(dirs.begin(), dirs.end(),
                                          [](const KeptDir& d) { return !d.pending.empty(); });
        dirwatch::TakeChanges(
            expected, [this](int watch, dirwatch::Change change, std::string_view name) {
                using dirwatch::Change;
                if (change == Change::Lost) {
                    for (KeptDir& d : dirs)
                        d.Forget();
                    return;
                }
                KeptDir* d = Watching(watch);
                if (!d)
                    return;
                if (change == Change::Gone) {
                    d->Forget();
                    dirwatch::Unwatch(d->watch);
                    d->watch = -1;
                } else if (d->listing && !d->TakeOwn(change == Change::Added, name)) {
                    d->Forget();
                }
            });
    }

    // A kept listing that provably still describes the directory `st`.
    KeptDir* Fresh(const struct stat& st) {
        KeptDir* d = Of(st);
        if (d && d->watch >= 0)
            TakeChanges();
        if (!d || !d->listing)
            return nullptr;
        if (d->watch < 0 && !(d->stamp == DirStamp(st)))
            return nullptr;
        d->lastUse = ++clock;
        return d;
    }

    // A place for the directory `st`: its own, else a new one, taking the
    // place of the one used longest ago when all are taken.
    KeptDir& PlaceFor(const struct stat& st) {
        if (KeptDir* d = Of(st))
            return *d;
        if (dirs.size() < kKeptDirectories)
            return dirs.emplace_back();
        KeptDir& oldest = *std::min_element(dirs.begin(), dirs.end(), [](auto& a, auto& b) {
            return (a.listing != nullptr) < (b.listing != nullptr) ||
                   ((a.listing != nullptr) == (b.listing != nullptr) && a.lastUse < b.lastUse);
        });
        dirwatch::Unwatch(oldest.watch);
        oldest = KeptDir();
        return oldest;
    }

    // Reads the directory into `read`; keeps it when nothing can change in
    // it unseen from now on: under a watch, or settled and unchanged while
    // read. False with the Windows error code when it cannot be read.
    bool Read(const std::string& hostDir, KeptDir& read, int& error);

    KeptDir* Named(const std::string& hostDir) {
        for (KeptDir& d : dirs)
            if (d.listing && d.hostDir == hostDir)
                return &d;
        return nullptr;
    }
};

Kept& TheKept() {
    static Kept kept;
    return kept;
}

bool Kept::Read(const std::string& hostDir, KeptDir& read, int& error) {
    timespec readStart{};
    clock_gettime(CLOCK_REALTIME, &readStart);
    const int fd = open(hostDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = WinErrorFromErrno(errno, false, true);
        return false;
    }
    struct stat before {
    }, after{};
    const bool stamped = fstat(fd, &before) == 0;
    const bool exact = stamped && KeepsExactTimes(fd);
    const int watch = exact ? dirwatch::Watch(fd) : -1;
    // What was noticed before the read is in what it reads.
    if (watch >= 0)
        if (KeptDir* old = Watching(watch))
            old->Forget();
    TakeChanges();
    std::shared_ptr<DirListing> listing = DirListing::Read(fd);
    if (!listing)
        error = WinErrorFromErrno(errno);
    const bool complete = listing && listing->Complete();
    const bool keep =
        complete && (watch >= 0 || (fstat(fd, &after) == 0 && DirStamp(before) == DirStamp(after) &&
                                    SettledBefore(before, readStart) && exact));
    close(fd);

    read.stamp = DirStamp(before);
    read.hostDir = hostDir;
    read.listing = listing;
    if (keep) {
        KeptDir& place = PlaceFor(before);
        if (place.watch >= 0 && place.watch != watch)
            dirwatch::Unwatch(place.watch);
        place = std::move(read);
        place.watch = watch;
        place.lastUse = ++clock;
        read = place; // the caller reads from its copy
    } else {
        if (KeptDir* stale = Of(before))
            stale->Forget();
        else if (watch >= 0 && !Watching(watch))
            dirwatch::Unwatch(watch);
    }
    return listing != nullptr;
}

void Note(const std::string& hostPath, bool added) {
    const std::string dir = HostParent(hostPath);
    const std::string name = hostPath.substr(hostPath.rfind('/') + 1);
    Kept& kept = TheKept();
    const std::lock_guard lock(kept.mutex);
    KeptDir* d = kept.Named(dir);
    if (!d)
        return;
    if (d->watch < 0) {
        d->Forget(); // its times have moved: nothing proves it any longer
        return;
    }
    if (added)
        d->Add(name);
    else
        d->Remove(name);
    d->pending.push_back({added, name});
}

} // namespace

std::shared_ptr<const DirListing> ListDirectory(const std::string& hostDir, const struct stat& st,
                                                int& error) {
    error = ERROR_SUCCESS;
    Kept& kept = TheKept();
    const std::lock_guard lock(kept.mutex);
    if (KeptDir* d = kept.Fresh(st))
        return d->Current();
    KeptDir read;
    if (!kept.Read(hostDir, read, error))
        return nullptr;
    return read.Current();
}

Listed LookUpName(const std::string& hostDir, const struct stat& st, std::string_view hostName,
                  std::string_view windowsName, std::string& found, bool readIfNotKept) {
    Kept& kept = TheKept();
    const std::lock_guard lock(kept.mutex);
    if (KeptDir* d = kept.Fresh(st))
        return d->LookUp(hostName, windowsName, found);
    if (!readIfNotKept)
        return Listed::Unknown;
    KeptDir read;
    int error = 0;
    if (!kept.Read(hostDir, read, error))
        return Listed::Unknown;
    return read.LookUp(hostName, windowsName, found);
}

void NoteEntryAdded(const std::string& hostPath) {
    Note(hostPath, true);
}

void NoteEntryRemoved(const std::string& hostPath) {
    Note(hostPath, false);
}

} // namespace platform
