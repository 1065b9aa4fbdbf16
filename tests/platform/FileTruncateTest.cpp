// Cutting a file off at the current position.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "TempDrives.h"
#include "platform/FileObject.h"

using namespace platform;

TEST(FileObjectTruncate, CutsAtThePositionAndNeedsWriting) {
    testsupport::TempDrives drives;
    drives.WriteFile("data.bin", "0123456789");
    FileObject f("C:\\data.bin");
    f.Reset(FileAccess::ReadWrite, 1);
    f.Write("ab", 2);
    f.Truncate();
    EXPECT_EQ(f.Size(), 2);
    EXPECT_EQ(f.Pos(), 2);
    f.Close();
    std::ifstream in(drives.Host("data.bin"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "ab");

    FileObject reader("C:\\data.bin");
    reader.Reset(FileAccess::ReadOnly, 1);
    int code = 0;
    try {
        reader.Truncate();
    } catch (const EInOutError& e) {
        code = e.ErrorCode();
    }
    EXPECT_EQ(code, 5);
    EXPECT_EQ(reader.Size(), 2);
}
