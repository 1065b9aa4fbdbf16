#include "ScratchDrive.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/Drives.h"

namespace fs = std::filesystem;

namespace bench {

ScratchDrive::ScratchDrive() {
    std::string pattern = (fs::temp_directory_path() / "sporvik-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temp directory");
    base_ = pattern;
    fs::create_directories(base_ / "C");
    platform::DriveTable table;
    table.roots['C'] = (base_ / "C").string();
    platform::SetDriveTable(table);
}

ScratchDrive::~ScratchDrive() {
    std::error_code ec;
    fs::remove_all(base_, ec);
}

} // namespace bench
