#include "platform/FileObject.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/HostAccess.h"
#include "platform/KeptListing.h"
#include "platform/Paths.h"
#include "platform/ShareTable.h"

namespace platform {

FileObject::~FileObject() {
    if (fd_ >= 0) {
        share::Release({shareKeyDev_, shareKeyIno_}, writable_);
        ::close(fd_);
    }
}

void FileObject::RequireOpen() const {
    if (fd_ < 0)
        throw EInOutError(ERROR_INVALID_HANDLE);
}

void FileObject::Reset(FileAccess access, int recordSize) {
    Open(0, access, recordSize);
}

void FileObject::Rewrite(int recordSize) {
    Open(O_CREAT | O_TRUNC, FileAccess::ReadWrite, recordSize);
}

void FileObject::CreateNew(int recordSize) {
    Open(O_CREAT | O_EXCL, FileAccess::ReadWrite, recordSize);
}

void FileObject::Open(int createFlags, FileAccess access, int recordSize) {
    if (fd_ >= 0)
        Close();
    if (recordSize <= 0)
        throw EInOutError(ERROR_INVALID_PARAMETER);
    const bool writing = access == FileAccess::ReadWrite;
    if (int err = CheckFileName(name_))
        throw EInOutError(err);
    ResolvedPath where;
    if (int err = ResolveHostPath(name_, where))
        throw EInOutError(err);
    const std::string& host = where.host;
    const bool dirMissing = where.dirMissing;
    const bool creating = createFlags & O_CREAT;
    const bool exclusive = createFlags & O_EXCL;
    if (int err = exclusive  ? CheckCreateNew(where)
                  : creating ? CheckCreateOrReplace(host, dirMissing)
                             : CheckOpenExisting(host, writing, dirMissing))
        throw EInOutError(err);

    // Truncation waits until the sharing check has passed, so a refused
    // opening never empties a file another holder is reading.
    // Opened without waiting: a named pipe would block until a writer comes.
    // Only plain files are files here. A file made new is one, and cannot
    // block.
    const int flags = (writing ? O_RDWR : O_RDONLY) | (createFlags & (O_CREAT | O_EXCL)) |
                      O_CLOEXEC | (exclusive ? 0 : O_NONBLOCK);
    int fd = ::open(host.c_str(), flags, 0666);
    if (fd < 0)
        throw EInOutError(WinErrorFromErrno(errno, writing, dirMissing));
    if (exclusive)
        NoteEntryAdded(host);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw EInOutError(ERROR_ACCESS_DENIED);
    }
    if (!exclusive)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!share::Acquire({st.st_dev, st.st_ino}, writing)) {
        ::close(fd);
        throw EInOutError(ERROR_SHARING_VIOLATION);
    }
    if ((createFlags & O_TRUNC) && ftruncate(fd, 0) != 0) {
        const int err = WinErrorFromErrno(errno, true);
        share::Release({st.st_dev, st.st_ino}, writing);
        ::close(fd);
        throw EInOutError(err);
    }
    fd_ = fd;
    recordSize_ = recordSize;
    writable_ = writing;
    shareKeyDev_ = st.st_dev;
    shareKeyIno_ = st.st_ino;
}

std::int64_t FileObject::Read(void* buffer, std::int64_t records) {
    RequireOpen();
    auto* out = static_cast<char*>(buffer);
    const std::int64_t wanted = records * recordSize_;
    std::int64_t done = 0;
    while (done < wanted) {
        const ssize_t n = ::read(fd_, out + done, static_cast<std::size_t>(wanted - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EInOutError(WinErrorFromErrno(errno, false));
        }
        if (n == 0)
            break;
        done += n;
    }
    return done / recordSize_;
}

void FileObject::Write(const void* buffer, std::int64_t records) {
    RequireOpen();
    if (!writable_)
        throw EInOutError(ERROR_ACCESS_DENIED);
    const auto* in = static_cast<const char*>(buffer);
    const std::int64_t wanted = records * recordSize_;
    std::int64_t done = 0;
    while (done < wanted) {
        const ssize_t n = ::write(fd_, in + done, static_cast<std::size_t>(wanted - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EInOutError(WinErrorFromErrno(errno, true));
        }
        if (n == 0)
            throw EInOutError(ERROR_DISK_FULL);
        done += n;
    }
}

void FileObject::Seek(std::int64_t record) {
    RequireOpen();
    if (record < 0 || ::lseek(fd_, static_cast<off_t>(record * recordSize_), SEEK_SET) < 0)
        throw EInOutError(ERROR_INVALID_PARAMETER);
}

std::int64_t FileObject::Pos() const {
    RequireOpen();
    const off_t pos = ::lseek(fd_, 0, SEEK_CUR);
    if (pos < 0)
        throw EInOutError(WinErrorFromErrno(errno));
    return pos / recordSize_;
}

std::int64_t FileObject::Size() const {
    RequireOpen();
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        throw EInOutError(WinErrorFromErrno(errno));
    return st.st_size / recordSize_;
}

void FileObject::Truncate() {
    RequireOpen();
    if (!writable_)
        throw EInOutError(ERROR_ACCESS_DENIED);
    const off_t pos = ::lseek(fd_, 0, SEEK_CUR);
    if (pos < 0 || ::ftruncate(fd_, pos) != 0)
        throw EInOutError(WinErrorFromErrno(errno, true));
}

void FileObject::Flush() {
    RequireOpen();
    if (::fsync(fd_) != 0)
        throw EInOutError(WinErrorFromErrno(errno, true));
}

void FileObject::Close() {
    RequireOpen();
    share::Release({shareKeyDev_, shareKeyIno_}, writable_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw EInOutError(WinErrorFromErrno(errno, writable_));
}

} // namespace platform
