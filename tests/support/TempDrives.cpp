#include "TempDrives.h"

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

#include "platform/FileOps.h"

namespace fs = std::filesystem;

namespace testsupport {

TempDrives::TempDrives() {
    std::string pattern = (fs::temp_directory_path() / "sporvik-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temp directory");
    base_ = pattern;
    root_ = base_ / "C";
    fs::create_directories(root_);
    savedTable_ = platform::CurrentDriveTable();
    savedProgramPath_ = platform::ProgramPath();
    table_.roots['C'] = root_.string();
    platform::SetDriveTable(table_);
    fs::create_directories(root_ / "prog");
    platform::SetProgramPath("C:\\prog\\Sporvik.exe");
}

TempDrives::~TempDrives() {
    platform::SetDriveTable(savedTable_);
    platform::SetProgramPath(savedProgramPath_);
    std::error_code ec;
    // Give back write permission first, so tests of read-only things clean up.
    for (auto it = fs::recursive_directory_iterator(base_, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(base_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(base_, ec);
}

fs::path TempDrives::AddDrive(char letter) {
    fs::path dir = base_ / std::string(1, letter);
    fs::create_directories(dir);
    table_.roots[letter] = dir.string();
    platform::SetDriveTable(table_);
    return dir;
}

fs::path TempDrives::WriteFile(const std::string& relative, const std::string& bytes) const {
    fs::path p = root_ / relative;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write test file " + p.string());
    return p;
}

void TempDrives::MakeDir(const std::string& relative) const {
    fs::create_directories(root_ / relative);
}

void SetReadOnly(const fs::path& p, bool readOnly) {
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

void LetDirectoriesSettle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
}

} // namespace testsupport
