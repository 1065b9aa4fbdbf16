#pragma once
// A temp directory of the test's own, mapped as drive C: (and any further
// letters the test asks for), with the program's own path moved into it.
// Everything is restored when the object goes away.
#include <filesystem>
#include <string>

#include "platform/Drives.h"

namespace testsupport {

class TempDrives {
public:
    TempDrives();
    ~TempDrives();
    TempDrives(const TempDrives&) = delete;
    TempDrives& operator=(const TempDrives&) = delete;

    // Host directory mapped to C:.
    const std::filesystem::path& Root() const { return root_; }
    // Maps another letter to a fresh empty host directory (a drive without a
    // medium until the test puts something there) and returns that directory.
    std::filesystem::path AddDrive(char letter);

    // Host path of a relative name under C:, e.g. Host("glyphs/a.bmp").
    std::filesystem::path Host(const std::string& relative) const { return root_ / relative; }
    // Writes a file under C: (parent directories created) and returns its host path.
    std::filesystem::path WriteFile(const std::string& relative, const std::string& bytes) const;
    void MakeDir(const std::string& relative) const;

private:
    std::filesystem::path base_;
    std::filesystem::path root_;
    platform::DriveTable table_;
    platform::DriveTable savedTable_;
    std::string savedProgramPath_;
};

// Waits until every change made so far lies more than a second back, as in a
// collection that has sat on disk a while: listings read from then on may be
// kept and reused, so a test of a change made behind the program's back
// starts from a listing the program holds.
void LetDirectoriesSettle();

// Host permission helpers for tests of read-only files and directories.
void SetReadOnly(const std::filesystem::path& p, bool readOnly = true);

} // namespace testsupport
