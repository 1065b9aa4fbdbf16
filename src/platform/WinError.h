#pragma once
// Windows error codes and the file-object failure that carries one.
#include <stdexcept>
#include <string>

namespace platform {

enum WinErrorCode : int {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_PATH_NOT_FOUND = 3,
    ERROR_TOO_MANY_OPEN_FILES = 4,
    ERROR_ACCESS_DENIED = 5,
    ERROR_INVALID_HANDLE = 6,
    ERROR_NOT_ENOUGH_MEMORY = 8,
    ERROR_INVALID_DRIVE = 15,
    ERROR_NOT_SAME_DEVICE = 17,
    ERROR_NO_MORE_FILES = 18,
    ERROR_WRITE_PROTECT = 19,
    ERROR_NOT_READY = 21,
    ERROR_WRITE_FAULT = 29,
    ERROR_READ_FAULT = 30,
    ERROR_SHARING_VIOLATION = 32,
    ERROR_HANDLE_EOF = 38,
    ERROR_FILE_EXISTS = 80,
    ERROR_INVALID_PARAMETER = 87,
    ERROR_DISK_FULL = 112,
    ERROR_INVALID_NAME = 123,
    ERROR_ALREADY_EXISTS = 183,
    ERROR_FILENAME_EXCED_RANGE = 206,
    ERROR_DIRECTORY = 267,
};

// What a failed host call means in Windows terms. `writing` picks 29 over 30
// for EIO; `missingDirOnTheWay` picks 3 over 2 for ENOENT.
int WinErrorFromErrno(int err, bool writing = false, bool missingDirOnTheWay = false);

// A failed file operation, carrying the Windows error code.
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);
    int ErrorCode() const { return code_; }

private:
    int code_;
};

} // namespace platform
