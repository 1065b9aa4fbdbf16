#include "platform/CaseLookup.h"

#include <cctype>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include "platform/Codepage.h"
#include "platform/HeldListing.h"
#include "platform/HostNames.h"

namespace platform {
namespace {

// The entry of `dir` that equals `name` ignoring case, or empty. Where the
// host holds several (it tells case apart), the one listed first wins.
std::string ListedIgnoringCase(const std::string& dir, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> d(opendir(dir.c_str()), closedir);
    if (!d)
        return {};
    std::string first;
    while (dirent* e = readdir(d.get())) {
        std::string hostName = e->d_name;
        if (hostName == "." || hostName == "..")
            continue;
        if (EqualIgnoringCase(WindowsName(hostName), name) && (first.empty() || hostName < first))
            first = std::move(hostName);
    }
    return first;
}

// A name of plain ASCII can only equal other ASCII names ignoring case, and
// with few letters those are few: trying each spelling finds the same entry
// as reading the whole directory, without reading it. Returns false when the
// name is not such a name, so the caller lists the directory instead.
constexpr int kMaxLettersToTry = 6;

bool FindAsciiCaseVariant(const std::string& dir, const std::string& name, std::string& found) {
    std::vector<std::size_t> letters;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80)
            return false;
        if (std::isalpha(c))
            letters.push_back(i);
    }
    if (letters.size() > kMaxLettersToTry)
        return false;
    found.clear();
    std::string spelling = name;
    for (unsigned mask = 0; mask < (1u << letters.size()); ++mask) {
        for (std::size_t bit = 0; bit < letters.size(); ++bit) {
            const auto c = static_cast<unsigned char>(name[letters[bit]]);
            spelling[letters[bit]] = char((mask >> bit) & 1u ? std::toupper(c) : std::tolower(c));
        }
        struct stat st {};
        // Where several spellings exist, the one a listing would give wins.
        if (lstat(JoinHost(dir, spelling).c_str(), &st) == 0 && (found.empty() || spelling < found))
            found = spelling;
    }
    return true;
}

// The answer of a held listing (HeldListing.h), when the folder is held and
// the entry it names, if any, is still there.
bool FindHeld(const std::string& dir, const std::string& name, std::string& found) {
    if (!FindInHeldListing(dir, name, found))
        return false;
    struct stat st {};
    return found.empty() || lstat(JoinHost(dir, found).c_str(), &st) == 0;
}

} // namespace

std::string JoinHost(const std::string& dir, const std::string& name) {
    return dir == "/" ? "/" + name : dir + "/" + name;
}

std::string FindIgnoringCase(const std::string& dir, const std::string& name) {
    std::string found;
    if (!FindHeld(dir, name, found) && !FindAsciiCaseVariant(dir, name, found))
        found = ListedIgnoringCase(dir, name);
    return found;
}

} // namespace platform
