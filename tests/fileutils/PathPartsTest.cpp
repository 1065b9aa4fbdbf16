// Splitting a Windows path into its directory, name and drive, as the
// extractor, the file dialog and the program's own paths do.
#include <gtest/gtest.h>
#include <string>
#include <tuple>

#include "fileutils/PathParts.h"

TEST(PathParts, DirectoryAndNameSplitAtTheLastBackslashOrColon) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"C:\\apps\\tool.exe", "C:\\apps\\", "tool.exe"},
        {"C:tool.exe", "C:", "tool.exe"},
        {"tool.exe", "", "tool.exe"},
        {"C:\\a:b\\", "C:\\a:b\\", ""},
    };
    for (const auto& [path, dir, name] : cases) {
        EXPECT_EQ(DirectoryPart(path), dir) << path;
        EXPECT_EQ(NamePart(path), name) << path;
    }
}

TEST(PathParts, TheDriveIsTheLetterOrTheServerAndShare) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\apps\\tool.exe", "C:"},
        {"\\\\server\\share\\apps", "\\\\server\\share"},
        {"\\\\server", "\\\\server"},
        {"\\apps", ""},
    };
    for (const auto& [path, drive] : cases)
        EXPECT_EQ(DrivePart(path), drive) << path;
}
