#include "platform/HostAccess.h"

#include <cerrno>
#include <sys/stat.h>

#include "platform/WinError.h"

namespace platform {
namespace {

int MissingCode(bool dirMissing) {
    return dirMissing ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
}

int WritableDirectory(const struct stat& dir) {
    if (!S_ISDIR(dir.st_mode))
        return ERROR_PATH_NOT_FOUND;
    return (dir.st_mode & S_IWUSR) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

int ParentWritable(const std::string& hostPath) {
    struct stat parent {};
    if (stat(HostParent(hostPath).c_str(), &parent) != 0)
        return ERROR_PATH_NOT_FOUND;
    return WritableDirectory(parent);
}

} // namespace

std::string HostParent(const std::string& hostPath) {
    const std::size_t slash = hostPath.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : hostPath.substr(0, slash);
}

bool IsMountPoint(const std::string& dir) {
    struct stat self {
    }, parent{};
    return stat(dir.c_str(), &self) == 0 && S_ISDIR(self.st_mode) &&
           stat(HostParent(dir).c_str(), &parent) == 0 && self.st_dev != parent.st_dev;
}

int CheckFileName(std::string_view winPath) {
    if (winPath.empty())
        return ERROR_PATH_NOT_FOUND; // opening "" names no file, as on Windows
    if (winPath.back() == '\\' || winPath.back() == '/')
        return ERROR_INVALID_NAME;
    return ERROR_SUCCESS;
}

int CheckOpenExisting(const std::string& hostPath, bool writing, bool dirMissing) {
    struct stat st {};
    if (stat(hostPath.c_str(), &st) != 0)
        return errno == ENOENT ? MissingCode(dirMissing) : WinErrorFromErrno(errno);
    if (S_ISDIR(st.st_mode) || !(st.st_mode & S_IRUSR) || (writing && !(st.st_mode & S_IWUSR)))
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

int CheckCreateOrReplace(const std::string& hostPath, bool dirMissing) {
    if (dirMissing)
        return ERROR_PATH_NOT_FOUND;
    struct stat st {};
    if (stat(hostPath.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode) || !(st.st_mode & S_IWUSR) || !(st.st_mode & S_IRUSR))
            return ERROR_ACCESS_DENIED;
        return ERROR_SUCCESS;
    }
    return CheckAddEntry(hostPath, dirMissing);
}

int CheckCreateNew(const ResolvedPath& where) {
    if (where.dirMissing)
        return ERROR_PATH_NOT_FOUND;
    struct stat st {};
    // A folder refuses a file as it does when the file would replace it.
    if (where.exists && lstat(where.host.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? ERROR_ACCESS_DENIED : ERROR_FILE_EXISTS;
    return where.parentKnown ? WritableDirectory(where.parent) : ParentWritable(where.host);
}

int CheckRemoveEntry(const std::string& hostPath, bool dirMissing) {
    struct stat st {};
    if (lstat(hostPath.c_str(), &st) != 0)
        return errno == ENOENT ? MissingCode(dirMissing) : WinErrorFromErrno(errno);
    if (S_ISDIR(st.st_mode))
        return ERROR_ACCESS_DENIED;
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))
        return ERROR_ACCESS_DENIED;
    return ParentWritable(hostPath);
}

int CheckAddEntry(const std::string& hostPath, bool dirMissing) {
    if (dirMissing)
        return ERROR_PATH_NOT_FOUND;
    return ParentWritable(hostPath);
}

} // namespace platform
