#pragma once
// A temp directory of a benchmark's own with its folder C mapped as drive C:,
// removed again at the end. The benchmark fills it with its files.
#include <filesystem>

namespace bench {

class ScratchDrive {
public:
    ScratchDrive();
    ~ScratchDrive();
    ScratchDrive(const ScratchDrive&) = delete;
    ScratchDrive& operator=(const ScratchDrive&) = delete;

    // The temp directory; Base() / "C" is drive C:.
    const std::filesystem::path& Base() const { return base_; }

private:
    std::filesystem::path base_;
};

} // namespace bench
