#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempDrives.h"
#include "platform/FileObject.h"
#include "platform/FileOps.h"

using namespace platform;

namespace {

int CodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInOutError& e) {
        return e.ErrorCode();
    }
    return 0;
}

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(FileObject, ReadsWritesSeeksInRecords) {
    testsupport::TempDrives drives;
    FileObject f("C:\\data.bin");
    f.Rewrite(1);
    f.Write("0123456789", 10);
    EXPECT_EQ(f.Size(), 10);
    f.Seek(4);
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, 8), 6); // a short read reports what it got
    EXPECT_EQ(std::string(buf, 6), "456789");
    EXPECT_EQ(f.Pos(), 10);
    f.Close();

    FileObject records("C:\\data.bin");
    records.Reset(FileAccess::ReadOnly, 4);
    EXPECT_EQ(records.Size(), 2);
    EXPECT_EQ(records.Read(buf, 2), 2);
    EXPECT_EQ(records.Read(buf, 1), 0); // two bytes left: no whole record
    records.Close();

    FileObject again("C:\\data.bin");
    again.Rewrite(1); // empties the file
    again.Close();
    EXPECT_EQ(Slurp(drives.Host("data.bin")), "");
}

TEST(FileObject, RefusesWithWindowsCodes) {
    testsupport::TempDrives drives;
    drives.MakeDir("dir");
    testsupport::SetReadOnly(drives.WriteFile("ro.bin", "keep"));
    drives.MakeDir("locked");
    drives.WriteFile("locked/in.bin", "x");
    testsupport::SetReadOnly(drives.Host("locked"));
    auto noRead = drives.WriteFile("noread.bin", "x");
    std::filesystem::permissions(noRead, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::remove);

    FileObject f;
    auto open = [&](const std::string& name, FileAccess a) {
        return CodeOf([&] {
            f.Assign(name);
            f.Reset(a, 1);
            f.Close();
        });
    };
    auto create = [&](const std::string& name) {
        return CodeOf([&] {
            f.Assign(name);
            f.Rewrite(1);
            f.Close();
        });
    };
    EXPECT_EQ(open("C:\\missing.bin", FileAccess::ReadOnly), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open("C:\\nodir\\x.bin", FileAccess::ReadOnly), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(open("C:\\dir", FileAccess::ReadOnly), ERROR_ACCESS_DENIED);
    EXPECT_EQ(open("C:\\ro.bin", FileAccess::ReadOnly), 0);
    // The owner bits bind root as well.
    EXPECT_EQ(open("C:\\ro.bin", FileAccess::ReadWrite), ERROR_ACCESS_DENIED);
    EXPECT_EQ(create("C:\\ro.bin"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Slurp(drives.Host("ro.bin")), "keep");
    EXPECT_EQ(open("C:\\noread.bin", FileAccess::ReadOnly), ERROR_ACCESS_DENIED);
    EXPECT_EQ(create("C:\\locked\\new.bin"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(open("C:\\locked\\in.bin", FileAccess::ReadWrite), 0); // the file itself is writable
    EXPECT_EQ(create("C:\\nodir\\new.bin"), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(create("Q:\\new.bin"), ERROR_PATH_NOT_FOUND);
    // The empty name is no path at all, for reading as for writing.
    EXPECT_EQ(open("", FileAccess::ReadOnly), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(open("", FileAccess::ReadWrite), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(create(""), ERROR_PATH_NOT_FOUND);
    // A link that leads back to itself reaches no file.
    std::filesystem::create_symlink("loop.bin", drives.Host("loop.bin"));
    EXPECT_EQ(open("C:\\loop.bin", FileAccess::ReadOnly), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CodeOf([] {
                  FileObject closed("C:\\x");
                  closed.Read(nullptr, 1);
              }),
              ERROR_INVALID_HANDLE);
}

// A new file never goes through an entry that holds its name, so nothing
// there is emptied or written through, a link to nowhere included.
TEST(FileObject, CreatingANewFileRefusesEveryEntryInTheWay) {
    testsupport::TempDrives drives;
    drives.MakeDir("dir");
    drives.WriteFile("old.bin", "keep");
    std::filesystem::create_symlink("nowhere.bin", drives.Host("dangling.bin"));
    std::filesystem::create_symlink("loop.bin", drives.Host("loop.bin"));
    drives.MakeDir("locked");
    testsupport::SetReadOnly(drives.Host("locked"));
    const std::pair<const char*, int> cases[] = {
        {"C:\\OLD.BIN", ERROR_FILE_EXISTS},
        {"C:\\dangling.bin", ERROR_FILE_EXISTS},
        {"C:\\loop.bin", ERROR_FILE_EXISTS},
        {"C:\\dir", ERROR_ACCESS_DENIED},
        {"C:\\locked\\new.bin", ERROR_ACCESS_DENIED},
        {"C:\\nodir\\new.bin", ERROR_PATH_NOT_FOUND},
        {"C:\\new.bin", 0},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(CodeOf([name] {
                      FileObject f(name);
                      f.CreateNew(1);
                      f.Write("new", 3);
                      f.Close();
                  }),
                  code)
            << name;
    EXPECT_EQ(Slurp(drives.Host("old.bin")), "keep");
    EXPECT_FALSE(std::filesystem::exists(drives.Host("nowhere.bin")));
    EXPECT_EQ(Slurp(drives.Host("new.bin")), "new");
}

TEST(FileObject, SharesReadingOnly) {
    testsupport::TempDrives drives;
    drives.WriteFile("shared.bin", "data");
    FileObject reader("C:\\shared.bin");
    reader.Reset(FileAccess::ReadOnly, 1);

    FileObject second("C:\\SHARED.BIN");
    EXPECT_EQ(CodeOf([&] { second.Reset(FileAccess::ReadOnly, 1); }), 0);
    second.Close();
    FileObject writer("C:\\shared.bin");
    EXPECT_EQ(CodeOf([&] { writer.Reset(FileAccess::ReadWrite, 1); }), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(CodeOf([&] { writer.Rewrite(1); }), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(std::filesystem::file_size(drives.Host("shared.bin")), 4u); // not emptied
    EXPECT_EQ(DeleteFile("C:\\shared.bin"), ERROR_SHARING_VIOLATION);

    reader.Close();
    EXPECT_EQ(CodeOf([&] { writer.Reset(FileAccess::ReadWrite, 1); }), 0);
    FileObject late("C:\\shared.bin");
    EXPECT_EQ(CodeOf([&] { late.Reset(FileAccess::ReadOnly, 1); }), ERROR_SHARING_VIOLATION);
}

} // namespace
