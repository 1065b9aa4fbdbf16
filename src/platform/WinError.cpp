#include "platform/WinError.h"

#include <cerrno>

namespace platform {

int WinErrorFromErrno(int err, bool writing, bool missingDirOnTheWay) {
    switch (err) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return missingDirOnTheWay ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP: // links that lead back to themselves: no path reaches a file
        return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EIO:
        return writing ? ERROR_WRITE_FAULT : ERROR_READ_FAULT;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    default:
        return writing ? ERROR_WRITE_FAULT : ERROR_READ_FAULT;
    }
}

EInOutError::EInOutError(int code)
    : std::runtime_error("I/O error " + std::to_string(code)), code_(code) {}

} // namespace platform
