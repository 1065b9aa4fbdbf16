#include "platform/Find.h"

#include <array>
#include <sys/stat.h>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/HostNames.h"
#include "platform/KeptListing.h"
#include "platform/Paths.h"
#include "platform/WinError.h"

namespace platform {

// A search walks first its leading entries ("." and "..", or the one name
// asked for), then the directory's listing, and lets through what the
// pattern and the attribute mask admit.
struct FindState {
    struct Leading {
        std::string name;
        std::string hostName;
    };
    std::vector<Leading> leading;
    // The directory is read only once the leading entries are passed, so
    // that a test for a directory, answered by its ".", never reads it.
    bool listed = false; // the listing comes after the leading entries
    struct stat dirStat {};
    std::shared_ptr<const DirListing> listing;
    std::shared_ptr<const std::string> hostDir;
    std::string mask;
    int attrMask = 0;
    std::size_t next = 0;

    // Moves `rec` to the next entry admitted: 0, 18 at the end, or the
    // Windows error code when the directory cannot be read.
    static int Advance(TSearchRec& rec);
    // The listing, read when first needed; null when there is none to walk.
    int List();
};

namespace {

constexpr int kSkippedUnlessAsked = faHidden | faSysFile | faVolumeID | faDirectory;

// Every name of a listing is matched against the pattern on every walk, so
// the upper-casing of a byte is looked up rather than worked out each time.
const std::array<char32_t, 256> kFoldedBytes = [] {
    std::array<char32_t, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = FoldForCompare(static_cast<unsigned char>(b));
    return t;
}();

char32_t FoldedByte(char c) {
    return kFoldedBytes[static_cast<unsigned char>(c)];
}

// One character of a name or mask, folded, and how many bytes it takes: a
// token is one character, as Windows sees the name. Strings without a token
// (nearly all) are read byte by byte.
template <bool WithTokens>
char32_t FoldedAt(std::string_view s, std::size_t at, std::size_t& length) {
    if (!WithTokens || s[at] != TokenMark) {
        length = 1;
        return FoldedByte(s[at]);
    }
    const Character c = CharacterAt(s, at);
    length = c.length;
    return FoldCharacter(c.codePoint);
}

// Read byte by byte until a token turns up; then read again by characters.
template <bool WithTokens> bool MatchFrom(std::string_view name, std::string_view mask) {
    // Iterative wildcard match with one back-tracking point for the last '*'.
    std::size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if constexpr (!WithTokens)
            if (name[n] == TokenMark || (m < mask.size() && mask[m] == TokenMark))
                return MatchFrom<true>(name, mask);
        std::size_t nameLength = 0, maskLength = 0;
        const char32_t c = FoldedAt<WithTokens>(name, n, nameLength);
        if (m < mask.size() && mask[m] == '?') {
            n += nameLength;
            ++m;
        } else if (m < mask.size() && mask[m] != '*' &&
                   FoldedAt<WithTokens>(mask, m, maskLength) == c) {
            n += nameLength;
            m += maskLength;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            FoldedAt<WithTokens>(name, starN, nameLength);
            n = starN += nameLength;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool MatchFrom(std::string_view name, std::string_view mask) {
    return MatchFrom<false>(name, mask);
}

bool HiddenName(std::string_view name) {
    return name.size() > 1 && name[0] == '.' && name != "..";
}

std::string HostEntryPath(const std::string& hostDir, std::string_view hostName) {
    std::string path = hostDir;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += hostName;
    return path;
}

// The attributes, size and time of an entry from its stat; false when it is
// gone.
template <class Details>
bool StatEntry(const std::string& hostPath, std::string_view name, Details& d) {
    struct stat st {};
    if (stat(hostPath.c_str(), &st) != 0 && lstat(hostPath.c_str(), &st) != 0)
        return false;
    d.attr = S_ISDIR(st.st_mode) ? faDirectory : faArchive;
    if (!(st.st_mode & S_IWUSR))
        d.attr |= faReadOnly;
    if (HiddenName(name))
        d.attr |= faHidden;
    d.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::int64_t>(st.st_size);
    d.time = st.st_mtime;
    return true;
}

// A name without wildcards that exists as spelled is the only entry to list,
// so a look-up of one file does not read a large directory.
bool FindExactName(const std::string& mask, const std::string& hostDir, FindState& s) {
    std::string hostName;
    if (mask.find_first_of("*?") != std::string::npos || mask == "." || mask == ".." ||
        !HostName(mask, hostName))
        return false;
    struct stat st {};
    if (lstat(HostEntryPath(hostDir, hostName).c_str(), &st) != 0)
        return false; // perhaps there in another case: the listing finds it
    s.leading.push_back({mask, hostName});
    return true;
}

} // namespace

int FindState::List() {
    int error = ERROR_SUCCESS;
    if (listed && !listing)
        listing = ListDirectory(*hostDir, dirStat, error);
    return error;
}

int FindState::Advance(TSearchRec& rec) {
    FindState& s = *rec.state;
    for (;;) {
        if (s.next >= s.leading.size())
            if (int error = s.List())
                return error;
        if (s.next >= s.leading.size() + (s.listing ? s.listing->Count() : 0))
            break;
        const std::size_t i = s.next++;
        const bool listed = i >= s.leading.size();
        const std::string_view name =
            listed ? s.listing->Name(i - s.leading.size()) : std::string_view(s.leading[i].name);
        if (listed && !MatchesMask(name, s.mask))
            continue;
        if (HiddenName(name) && !(s.attrMask & faHidden))
            continue;
        const std::string_view hostName = listed ? s.listing->HostName(i - s.leading.size())
                                                 : std::string_view(s.leading[i].hostName);
        // Only a mask without the directory bit needs to look at the entry;
        // one that has vanished meanwhile is then passed over.
        std::optional<TSearchRec::Details> details;
        if (!(s.attrMask & faDirectory)) {
            // Assigned, not emplaced: clang 14 takes Details, whose members
            // have initializers, for not default-constructible here.
            details = TSearchRec::Details{};
            if (!StatEntry(HostEntryPath(*s.hostDir, hostName), name, *details) ||
                (details->attr & kSkippedUnlessAsked & ~s.attrMask))
                continue;
        }
        rec.Name.assign(name);
        rec.hostName_.assign(hostName);
        if (rec.hostDir_ != s.hostDir)
            rec.hostDir_ = s.hostDir;
        rec.details_ = details;
        return ERROR_SUCCESS;
    }
    return ERROR_NO_MORE_FILES;
}

const TSearchRec::Details& TSearchRec::Read() const {
    if (!details_) {
        details_ = Details{};
        // An entry gone since it was listed reads as a plain empty file.
        if (hostDir_ && !StatEntry(HostEntryPath(*hostDir_, hostName_), Name, *details_))
            details_->attr = faArchive | (HiddenName(Name) ? faHidden : 0);
    }
    return *details_;
}

int TSearchRec::Attr() const {
    return Read().attr;
}

std::int64_t TSearchRec::Size() const {
    return Read().size;
}

std::time_t TSearchRec::Time() const {
    return Read().time;
}

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
    rec = TSearchRec();
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
    state->mask = mask;
    state->hostDir = std::make_shared<const std::string>(host);
    if (!FindExactName(mask, host, *state)) {
        if (dirPath.size() != 3) // a drive root has no dot entries
            for (const char* dot : {".", ".."})
                if (MatchesMask(dot, mask))
                    state->leading.push_back({dot, dot});
        state->listed = true;
        state->dirStat = st;
    }

    rec.state = std::move(state);
    const int found = FindState::Advance(rec);
    if (found != ERROR_SUCCESS) {
        FindClose(rec);
        return found == ERROR_NO_MORE_FILES ? ERROR_FILE_NOT_FOUND : found;
    }
    return ERROR_SUCCESS;
}

int FindNext(TSearchRec& rec) {
    if (!rec.state)
        return ERROR_NO_MORE_FILES;
    return FindState::Advance(rec);
}

void FindClose(TSearchRec& rec) {
    rec.state.reset();
}

} // namespace platform
