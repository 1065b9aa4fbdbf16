#include "platform/UserDirs.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Drives.h"
#include "platform/Paths.h"
#include "platform/WinError.h"

namespace fs = std::filesystem;

namespace platform {

std::string UserConfigDirectory() {
    std::string host;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        host = xdg;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        host = std::string(home) + "/.config";
    if (host.empty())
        return {};
    std::string win = ToWindowsPath(fs::path(host).lexically_normal().string());
    if (!win.empty() && win.back() != '\\')
        win += '\\';
    return win;
}

bool CanCreateFilesIn(std::string_view winDir) {
    std::string host;
    if (ToHostPath(winDir, host) != 0)
        return false;
    struct stat st {};
    return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_IWUSR) &&
           access(host.c_str(), W_OK | X_OK) == 0;
}

int ForceDirectories(std::string_view winDir) {
    std::string host;
    if (int err = ToHostPath(winDir, host))
        return err;
    std::error_code ec;
    fs::create_directories(host, ec);
    if (ec)
        return WinErrorFromErrno(ec.value(), true);
    return fs::is_directory(host, ec) ? ERROR_SUCCESS : ERROR_PATH_NOT_FOUND;
}

} // namespace platform
