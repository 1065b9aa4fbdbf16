#include "platform/Find.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/Paths.h"
#include "platform/WinError.h"

namespace platform {

struct FindState {
    struct Entry {
        std::string name;     // as listed (Windows-1252)
        std::string hostName; // as on disk
        std::u32string key;   // name folded for the listing order
    };
    std::vector<Entry> entries;
    std::size_t next = 0;
    int attrMask = 0;
    int dirFd = -1;

    ~FindState() {
        if (dirFd >= 0)
            close(dirFd);
    }
};

namespace {

constexpr int kSkippedUnlessAsked = faHidden | faSysFile | faVolumeID | faDirectory;

std::u32string FoldedKey(std::string_view name) {
    std::u32string key;
    key.reserve(name.size());
    for (unsigned char c : name)
        key += FoldForCompare(c);
    return key;
}

bool Fold(char a, char b) {
    return FoldForCompare(static_cast<unsigned char>(a)) ==
           FoldForCompare(static_cast<unsigned char>(b));
}

bool MatchFrom(std::string_view name, std::string_view mask) {
    // Iterative wildcard match with one back-tracking point for the last '*'.
    std::size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && Fold(mask[m], name[n])))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

// The attributes of one entry; false when it vanished meanwhile.
bool EntryAttributes(int dirFd, const FindState::Entry& e, TSearchRec& rec) {
    struct stat st {};
    if (fstatat(dirFd, e.hostName.c_str(), &st, 0) != 0 &&
        fstatat(dirFd, e.hostName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    int attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= faDirectory;
    else
        attr |= faArchive;
    if (!(st.st_mode & S_IWUSR))
        attr |= faReadOnly;
    if (e.name.size() > 1 && e.name[0] == '.' && e.name != "..")
        attr |= faHidden;
    rec.Name = e.name;
    rec.Attr = attr;
    rec.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
    rec.Time = st.st_mtime;
    return true;
}

// Moves to the next entry the attribute mask lets through; 0 or 18.
int Advance(TSearchRec& rec) {
    FindState& s = *rec.state;
    while (s.next < s.entries.size()) {
        const FindState::Entry& e = s.entries[s.next++];
        TSearchRec candidate;
        if (!EntryAttributes(s.dirFd, e, candidate))
            continue;
        if (candidate.Attr & kSkippedUnlessAsked & ~s.attrMask)
            continue;
        rec.Name = std::move(candidate.Name);
        rec.Attr = candidate.Attr;
        rec.Size = candidate.Size;
        rec.Time = candidate.Time;
        return ERROR_SUCCESS;
    }
    return ERROR_NO_MORE_FILES;
}

// Reads a directory's matching entries in listing order.
void ListDirectory(DIR* dir, std::string_view mask, bool isRoot, FindState& s) {
    while (dirent* e = readdir(dir)) {
        std::string hostName = e->d_name;
        if (hostName == "." || hostName == "..")
            continue;
        std::string name = Utf8ToAnsi(hostName);
        std::replace(name.begin(), name.end(), '\\', '?');
        if (MatchesMask(name, mask))
            s.entries.push_back({name, hostName, FoldedKey(name)});
    }
    std::sort(s.entries.begin(), s.entries.end(), [](const auto& a, const auto& b) {
        return a.key != b.key ? a.key < b.key : a.hostName < b.hostName;
    });
    if (!isRoot) {
        std::vector<FindState::Entry> dots;
        for (const char* d : {".", ".."})
            if (MatchesMask(d, mask))
                dots.push_back({d, d, FoldedKey(d)});
        s.entries.insert(s.entries.begin(), dots.begin(), dots.end());
    }
}

// A name without wildcards that exists as spelled is the only entry to list,
// so a look-up of one file does not read a large directory.
bool FindExactName(const std::string& mask, FindState& s) {
    if (mask.find_first_of("*?") != std::string::npos || mask == "." || mask == "..")
        return false;
    const std::string hostName = AnsiToUtf8(mask);
    struct stat st {};
    if (fstatat(s.dirFd, hostName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false; // perhaps there in another case: the listing finds it
    s.entries.push_back({mask, hostName, FoldedKey(mask)});
    return true;
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*" || mask == "*")
        return true;
    // A mask ending in a period asks for names without an extension ("*."
    // lists "README" but not "a.txt"); "." and ".." count as such names.
    if (mask.size() >= 2 && mask.back() == '.' && mask != "..") {
        const std::string_view stem = mask.substr(0, mask.size() - 1);
        if (name == "." || name == "..")
            return stem.find_first_not_of('*') == std::string_view::npos;
        return name.find('.') == std::string_view::npos && MatchFrom(name, stem);
    }
    if (MatchFrom(name, mask))
        return true;
    // A trailing ".*" also matches a name without an extension.
    if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return MatchFrom(name, mask.substr(0, mask.size() - 2));
    return false;
}

int FindFirst(std::string_view pattern, int attr, TSearchRec& rec) {
    FindClose(rec);
    std::string full;
    if (int err = ExpandPath(pattern, full))
        return err;
    const std::size_t slash = full.rfind('\\');
    const std::string dirPath = full.substr(0, slash + 1);
    std::string mask = full.substr(slash + 1);
    // Expansion drops a name's trailing period, but in a wildcard mask the
    // period means "no extension": keep the mask as given.
    const std::string_view given = pattern.substr(pattern.find_last_of("\\/:") + 1);
    if (given.size() >= 2 && given.back() == '.' && given != ".." &&
        given.find_first_of("*?") != std::string_view::npos)
        mask = given;
    if (mask.empty())
        return ERROR_FILE_NOT_FOUND;

    std::string host;
    if (int err = ToHostPath(dirPath, host))
        return err;
    struct stat st {};
    if (stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return ERROR_PATH_NOT_FOUND;
    if (!(st.st_mode & S_IRUSR))
        return ERROR_ACCESS_DENIED;

    auto state = std::make_shared<FindState>();
    state->attrMask = attr;
    state->dirFd = open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state->dirFd < 0)
        return WinErrorFromErrno(errno, false, true);
    if (!FindExactName(mask, *state)) {
        DIR* dir = fdopendir(dup(state->dirFd));
        if (!dir)
            return WinErrorFromErrno(errno);
        ListDirectory(dir, mask, dirPath.size() == 3, *state);
        closedir(dir);
    }

    rec.state = std::move(state);
    if (Advance(rec) != ERROR_SUCCESS) {
        FindClose(rec);
        return ERROR_FILE_NOT_FOUND;
    }
    return ERROR_SUCCESS;
}

int FindNext(TSearchRec& rec) {
    if (!rec.state)
        return ERROR_NO_MORE_FILES;
    return Advance(rec);
}

void FindClose(TSearchRec& rec) {
    rec.state.reset();
}

} // namespace platform
