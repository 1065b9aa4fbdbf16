#include "platform/ShareTable.h"

#include <map>
#include <mutex>
#include <utility>

namespace platform::share {
namespace {

struct Use {
    int readers = 0;
    int writers = 0;
};

std::map<std::pair<std::uint64_t, std::uint64_t>, Use>& Table() {
    static std::map<std::pair<std::uint64_t, std::uint64_t>, Use> table;
    return table;
}

// The extraction command scans several files at once, each worker opening
// its own; the table is the one thing they share.
std::mutex& TableLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

bool Acquire(Key key, bool writing) {
    const std::lock_guard<std::mutex> hold(TableLock());
    Use& use = Table()[{key.dev, key.ino}];
    // Every holder shares reading only: a writer conflicts with anyone, and
    // a reader with a writer.
    const bool conflict = writing ? (use.readers + use.writers > 0) : use.writers > 0;
    if (conflict)
        return false;
    (writing ? use.writers : use.readers)++;
    return true;
}

void Release(Key key, bool writing) {
    const std::lock_guard<std::mutex> hold(TableLock());
    auto it = Table().find({key.dev, key.ino});
    if (it == Table().end())
        return;
    (writing ? it->second.writers : it->second.readers)--;
    if (it->second.readers <= 0 && it->second.writers <= 0)
        Table().erase(it);
}

bool IsOpen(Key key) {
    const std::lock_guard<std::mutex> hold(TableLock());
    return Table().count({key.dev, key.ino}) > 0;
}

} // namespace platform::share
