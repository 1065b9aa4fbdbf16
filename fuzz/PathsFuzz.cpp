// Any text as a Windows path: full-path expansion gives a full path in
// canonical form, its host path lies under its drive's root, and the host
// path converts back to the Windows path it was opened as. Any text as a host path
// converts to a Windows path that leads back to it.
#include <algorithm>
#include <cctype>

#include "FuzzSupport.h"
#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/Paths.h"

namespace {

bool IsCanonical(const std::string& full) {
    if (full.size() < 3 || !std::isalpha(static_cast<unsigned char>(full[0])) ||
        full.substr(1, 2) != ":\\" || full.find('/') != full.npos)
        return false;
    std::string rest = full.substr(3);
    if (!rest.empty() && rest.back() != '\\')
        rest += '\\';
    return rest.empty() || (rest.front() != '\\' && rest.find("\\\\") == rest.npos &&
                            rest.find("\\.\\") == rest.npos && rest.find("\\..\\") == rest.npos &&
                            rest.rfind(".\\", 0) != 0 && rest.rfind("..\\", 0) != 0);
}

std::string WithoutTrailingSeparator(std::string path) {
    if (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

void CheckWindowsPath(const std::string& path) {
    std::string full;
    if (platform::ExpandPath(path, full) != 0)
        return;
    FUZZ_CHECK(IsCanonical(full), path + " -> " + full);
    FUZZ_CHECK(platform::WindowsLength(full) <= platform::MaxPathLength, path);
    std::string host;
    if (platform::ToHostPath(full, host) != 0)
        return;
    const std::string root = platform::DriveHostRoot(full[0]);
    FUZZ_CHECK(host.rfind(root, 0) == 0, full + " -> " + host);
    // The host path is that of the path expanded once more, as Windows opens
    // "C:\a.\b" as "C:\a\b".
    const std::string opened = platform::ExpandFileName(full);
    const std::string back = platform::ToWindowsPath(host);
    FUZZ_CHECK(platform::EqualIgnoringCase(WithoutTrailingSeparator(back),
                                           WithoutTrailingSeparator(opened)),
               full + " -> " + host + " -> " + back);
}

void CheckHostPath(const std::string& host) {
    const std::string win = platform::ToWindowsPath(host);
    if (win.empty())
        return;
    FUZZ_CHECK(win.size() >= 3 && win[1] == ':' && win[2] == '\\', host + " -> " + win);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnsureDrives();
    fuzz::Input input(data, size);
    const std::string path = input.Field();
    CheckWindowsPath(path);
    // The same text under drive C:'s host root, and as it stands.
    const std::string host = input.Rest();
    CheckHostPath(platform::DriveHostRoot('C') + "/" + host);
    CheckHostPath(host);
    return 0;
}
