#pragma once
// The host's notices of changes to the entries of watched directories
// (inotify): each change is queued as it is made, by whichever program, so a
// listing read after a directory came under watch is known to be as it was
// read until a notice says otherwise.
#include <functional>
#include <string_view>

namespace platform::dirwatch {

enum class Change {
    Added,   // an entry appeared, created or moved in
    Removed, // an entry went, deleted or moved out
    Gone,    // the directory itself was moved or deleted, or its watch ended
    Lost,    // notices were lost: any watched directory may have changed
};

// Starts watching the directory open as `dirFd`, or goes on watching it:
// the watch's number, or -1 when it cannot be watched.
int Watch(int dirFd);
void Unwatch(int watch);

// Hands each notice queued since the last call to `told`, in the order the
// changes were made; `watch` is -1 for Lost, `name` empty but for Added and
// Removed. `expected`: notices are surely queued (of changes the caller
// made), so the queue is read at once. One system call when nothing but what
// was expected has changed.
void TakeChanges(bool expected,
                 const std::function<void(int watch, Change change, std::string_view name)>& told);

} // namespace platform::dirwatch
