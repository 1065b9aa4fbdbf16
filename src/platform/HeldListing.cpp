#include "platform/HeldListing.h"

#include <dirent.h>
#include <map>
#include <memory>
#include <mutex>

#include "platform/Codepage.h"
#include "platform/HostNames.h"

namespace platform {
namespace {

struct Held {
    int holders = 0;
    // Folded Windows name -> host name; where several fold alike, the
    // smallest, as a listing gives it first.
    std::map<std::u32string, std::string> names;

    void Add(const std::string& hostName) {
        auto [it, added] = names.emplace(FoldedName(WindowsName(hostName)), hostName);
        if (!added && hostName < it->second)
            it->second = hostName;
    }
};

// Runs write from one thread while others read their inputs, so the held
// folders are shared under a lock.
std::mutex& HeldLock() {
    static std::mutex lock;
    return lock;
}

std::map<std::string, Held>& HeldFolders() {
    static std::map<std::string, Held> folders;
    return folders;
}

bool ReadFolder(const std::string& hostDir, Held& held) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(hostDir.c_str()), closedir);
    if (!d)
        return false;
    while (const dirent* e = readdir(d.get())) {
        const std::string name = e->d_name;
        if (name != "." && name != "..")
            held.Add(name);
    }
    return true;
}

} // namespace

THeldListing::THeldListing(std::string hostDir) {
    while (hostDir.size() > 1 && hostDir.back() == '/')
        hostDir.pop_back();
    const std::lock_guard lock(HeldLock());
    Held& held = HeldFolders()[hostDir];
    if (held.holders == 0 && !ReadFolder(hostDir, held)) {
        HeldFolders().erase(hostDir);
        return;
    }
    ++held.holders;
    hostDir_ = std::move(hostDir);
}

THeldListing::~THeldListing() {
    if (hostDir_.empty())
        return;
    const std::lock_guard lock(HeldLock());
    const auto it = HeldFolders().find(hostDir_);
    if (it != HeldFolders().end() && --it->second.holders == 0)
        HeldFolders().erase(it);
}

bool FindInHeldListing(const std::string& hostDir, std::string_view name, std::string& found) {
    const std::lock_guard lock(HeldLock());
    const auto folder = HeldFolders().find(hostDir);
    if (folder == HeldFolders().end())
        return false;
    const auto it = folder->second.names.find(FoldedName(name));
    found = it == folder->second.names.end() ? std::string() : it->second;
    return true;
}

void NoteCreated(const std::string& hostPath) {
    const std::size_t slash = hostPath.find_last_of('/');
    if (slash == std::string::npos)
        return;
    const std::string dir = slash == 0 ? "/" : hostPath.substr(0, slash);
    const std::lock_guard lock(HeldLock());
    const auto folder = HeldFolders().find(dir);
    if (folder != HeldFolders().end())
        folder->second.Add(hostPath.substr(slash + 1));
}

} // namespace platform
