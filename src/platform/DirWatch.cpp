#include "platform/DirWatch.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <string>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform::dirwatch {
namespace {

constexpr std::uint32_t kWatched = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                   IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr std::uint32_t kEnded = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

// One instance for the process, made when first needed; -1 when the host
// gives none (its limits reached), and then nothing is watched.
int Instance() {
    static const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    return fd;
}

} // namespace

int Watch(int dirFd) {
    if (Instance() < 0)
        return -1;
    // Through the open descriptor, so the watch is on exactly the directory
    // read from, whatever its path leads to by now.
    const std::string self = "/proc/self/fd/" + std::to_string(dirFd);
    return inotify_add_watch(Instance(), self.c_str(), kWatched);
}

void Unwatch(int watch) {
    if (watch >= 0 && Instance() >= 0)
        inotify_rm_watch(Instance(), watch);
}

void TakeChanges(bool expected, const std::function<void(int, Change, std::string_view)>& told) {
    if (Instance() < 0)
        return;
    // Unless notices are expected, the queue is asked first and read only
    // when it holds something; when it cannot be asked or read, anything may
    // have changed.
    int queued = 1;
    if (!expected && ioctl(Instance(), FIONREAD, &queued) != 0) {
        told(-1, Change::Lost, {});
        return;
    }
    constexpr std::size_t kLargestNotice = sizeof(inotify_event) + NAME_MAX + 1;
    alignas(inotify_event) char buffer[16 * kLargestNotice];
    while (queued > 0) {
        const ssize_t n = read(Instance(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (errno != EAGAIN)
                told(-1, Change::Lost, {});
            return;
        }
        for (const char* at = buffer; at < buffer + n;) {
            const auto* notice = reinterpret_cast<const inotify_event*>(at);
            at += sizeof(inotify_event) + notice->len;
            const std::string_view name = notice->len ? notice->name : "";
            if (notice->mask & IN_Q_OVERFLOW)
                told(-1, Change::Lost, {});
            else if (notice->mask & kEnded)
                told(notice->wd, Change::Gone, {});
            else if (notice->mask & (IN_CREATE | IN_MOVED_TO))
                told(notice->wd, Change::Added, name);
            else if (notice->mask & (IN_DELETE | IN_MOVED_FROM))
                told(notice->wd, Change::Removed, name);
        }
        // A read that left room for one more notice emptied the queue.
        queued = static_cast<std::size_t>(n) + kLargestNotice <= sizeof buffer ? 0 : 1;
    }
}

} // namespace platform::dirwatch
