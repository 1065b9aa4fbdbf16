#include "platform/Profile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Codepage.h"
#include "platform/Drives.h"
#include "platform/Paths.h"
#include "platform/ProfileText.h"
#include "platform/WinError.h"

namespace platform {
namespace {

// The file's full Windows path for messages (as given if it cannot be expanded).
std::string ShownName(const std::string& fileName) {
    std::string full = ExpandFileName(fileName);
    return full.empty() ? fileName : full;
}

[[noreturn]] void FailReading(const std::string& fileName, int code) {
    throw EFailure("Cannot read settings file \"" + ShownName(fileName) + "\" (I/O error " +
                   std::to_string(code) + ")");
}

[[noreturn]] void FailWriting(const std::string& fileName, int code) {
    throw EFailure("Cannot write settings file \"" + ShownName(fileName) + "\" (I/O error " +
                   std::to_string(code) + ")");
}

// Closes a descriptor, and removes the new file unless it was taken into use.
struct TempFile {
    int fd = -1;
    std::string path;
    bool keep = false;
    ~TempFile() {
        if (fd >= 0)
            ::close(fd);
        if (!keep && !path.empty())
            ::unlink(path.c_str());
    }
};

// 0 and the host path, or a Windows error code. A link is followed so that a
// write replaces the file it points to, not the link.
int ResolveHostPath(const std::string& fileName, std::string& host) {
    if (const int code = ToHostPath(fileName, host))
        return code;
    std::error_code ec;
    if (std::filesystem::is_symlink(host, ec)) {
        const auto target = std::filesystem::canonical(host, ec);
        if (ec)
            return ERROR_FILE_NOT_FOUND;
        host = target.string();
    }
    return 0;
}

// The whole file, or nothing when it is missing; raises when it is there but
// cannot be read. The layer honours the owner's read bit also for root.
std::optional<std::string> LoadFile(const std::string& fileName, const std::string& host) {
    // Opened first and examined after, so that a file going away between a
    // look and the open reads as the missing file it now is.
    TempFile file; // only to close the descriptor
    file.keep = true;
    file.fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        FailReading(fileName, WinErrorFromErrno(errno));
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        FailReading(fileName, WinErrorFromErrno(errno));
    if (S_ISDIR(st.st_mode) || !(st.st_mode & S_IRUSR))
        FailReading(fileName, ERROR_ACCESS_DENIED);
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            FailReading(fileName, WinErrorFromErrno(errno));
        if (n == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

std::optional<std::string> ReadValue(const std::string& fileName, std::string_view section,
                                     std::string_view key) {
    std::string host;
    if (const int code = ResolveHostPath(fileName, host)) {
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            return std::nullopt;
        FailReading(fileName, code);
    }
    const auto bytes = LoadFile(fileName, host);
    if (!bytes)
        return std::nullopt;
    return ProfileText::Parse(*bytes).Find(section, key);
}

// 0 or the errno of the failed write.
int WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Writes the bytes to a new file in the same directory and puts it in the
// old one's place. Returns 0 or a Windows error code.
int ReplaceFile(const std::string& host, const std::string& bytes, mode_t mode) {
    const std::filesystem::path target(host);
    TempFile temp;
    temp.path = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    temp.fd = ::mkstemp(temp.path.data());
    if (temp.fd < 0) {
        const int err = errno;
        temp.path.clear();
        return WinErrorFromErrno(err, true);
    }
    if (const int err = WriteAll(temp.fd, bytes))
        return WinErrorFromErrno(err, true);
    if (::fchmod(temp.fd, mode) != 0 || ::fsync(temp.fd) != 0)
        return WinErrorFromErrno(errno, true);
    const int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0)
        return WinErrorFromErrno(errno, true);
    if (::rename(temp.path.c_str(), host.c_str()) != 0)
        return WinErrorFromErrno(errno, true);
    temp.keep = true;
    return 0;
}

// The file's permission bits, after checking that the layer lets the program
// replace it: owner write on the file (if there) and on its directory.
mode_t CheckWritable(const std::string& fileName, const std::string& host) {
    mode_t mode = 0666 & ~[] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }();
    struct stat st {};
    if (::stat(host.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode) || !(st.st_mode & S_IWUSR))
            FailWriting(fileName, ERROR_ACCESS_DENIED);
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        FailWriting(fileName, WinErrorFromErrno(errno, true));
    }
    const std::string dir = std::filesystem::path(host).parent_path().string();
    if (::stat(dir.c_str(), &st) != 0)
        FailWriting(fileName,
                    errno == ENOENT ? ERROR_PATH_NOT_FOUND : WinErrorFromErrno(errno, true));
    if (!S_ISDIR(st.st_mode))
        FailWriting(fileName, ERROR_PATH_NOT_FOUND);
    if (!(st.st_mode & S_IWUSR))
        FailWriting(fileName, ERROR_ACCESS_DENIED);
    return mode;
}

// A name that would not be found again, or a value that would break its
// line, is refused before the file is touched.
void CheckNames(const std::string& fileName, std::string_view section, std::string_view key,
                std::string_view value) {
    const auto refuse = [&](const std::string& why) {
        throw EFailure("Cannot write settings file \"" + ShownName(fileName) + "\": " + why);
    };
    if (value.find_first_of("\r\n") != value.npos)
        refuse("a value does not fit on one line");
    if (!IsStorableSection(section))
        refuse("\"" + std::string(section) + "\" cannot be a section name");
    if (!IsStorableKey(key))
        refuse("\"" + std::string(key) + "\" cannot be a key name");
}

} // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    // A default handed back loses its trailing blanks, as a stored value does.
    while (!defaultValue.empty() && defaultValue.back() == ' ')
        defaultValue.remove_suffix(1);
    std::string value(ReadValue(fileName_, section, key).value_or(std::string(defaultValue)));
    // Counted as Windows counts characters, so a remembered path keeps its
    // names whole however long their tokens are.
    return std::string(WindowsPrefix(value, MaxValueLength));
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    const auto text = ReadValue(fileName_, section, key);
    if (!text)
        return defaultValue;
    return ParseProfileInteger(*text).value_or(defaultValue);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    CheckNames(fileName_, section, key, value);
    std::string host;
    if (const int code = ResolveHostPath(fileName_, host))
        FailWriting(fileName_, code);
    const mode_t mode = CheckWritable(fileName_, host);
    // A file that is there but unreadable is not replaced: its contents would be lost.
    const auto bytes = LoadFile(fileName_, host);
    ProfileText text = ProfileText::Parse(bytes.value_or(std::string()));
    text.Set(section, key, value);
    if (const int code = ReplaceFile(host, text.Serialize(), mode))
        FailWriting(fileName_, code);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

} // namespace platform
