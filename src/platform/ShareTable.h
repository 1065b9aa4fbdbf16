#pragma once
// The files this process holds open, so that sharing rules can be kept: every
// file object opens "shared for reading", which lets other readers in and
// keeps writers (and deleters) out while it is open.
#include <cstdint>

namespace platform::share {

struct Key {
    std::uint64_t dev = 0;
    std::uint64_t ino = 0;
};

// Registers an opening; false (sharing violation) when it conflicts.
bool Acquire(Key key, bool writing);
void Release(Key key, bool writing);
bool IsOpen(Key key);

} // namespace platform::share
