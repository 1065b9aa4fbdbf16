// The installed program itself, started as a script would start it: no
// display, no Qt platform chosen, and the exit status as the only answer.
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "HostFiles.h"
#include "ProgramImage.h"
#include "TempDrives.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

// The program is built beside the test executables.
fs::path ProgramPath() {
    return fs::read_symlink("/proc/self/exe").parent_path() / "sporvik-extract";
}

std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the program without any display and returns its exit status; its
// standard output goes to `out`.
int RunProgram(const std::string& args, const fs::path& out) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                Quoted(ProgramPath().string()) + " " + args + " >" +
                                Quoted(out.string()) + " 2>&1 </dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(ExtractProgram, RunsWithoutADisplayAndAnswersWithItsExitStatus) {
    ASSERT_TRUE(fs::exists(ProgramPath())) << ProgramPath();
    TempDrives drives;
    ResourceItem strip;
    strip.name = "TOOLBAR";
    strip.data = ResourceBitmap(4, 32, 16, 3);
    drives.WriteFile("apps/tool.exe", ComposeProgram({strip}, true).bytes);
    drives.WriteFile("apps/empty.exe", std::string(1000, 'x'));
    const std::string tool = Quoted(drives.Host("apps/tool.exe").string());
    const std::string outDir = Quoted(drives.Host("out").string());
    const fs::path log = drives.Host("log.txt");

    EXPECT_EQ(RunProgram("--resources --json -o " + outDir + " " + tool, log), 0)
        << testsupport::ReadHostFile(log);
    EXPECT_EQ(testsupport::ReadHostFile(drives.Host("out/tool-TOOLBAR.bmp")).substr(14),
              strip.data);
    EXPECT_NE(testsupport::ReadHostFile(log).find("\"resource\":\"TOOLBAR\"}\n"), std::string::npos)
        << testsupport::ReadHostFile(log);

    EXPECT_EQ(RunProgram(Quoted(drives.Host("apps/empty.exe").string()), log), 1);
    EXPECT_EQ(testsupport::ReadHostFile(log), "No bitmaps found.\n");
    EXPECT_EQ(RunProgram("--overwrite maybe " + tool, log), 2);
    EXPECT_EQ(RunProgram(Quoted(drives.Host("apps/gone.exe").string()), log), 2);
    EXPECT_EQ(testsupport::ReadHostFile(log),
              "sporvik-extract: Error reading gone.exe!\nReason: I/O Error 2\n"
              "File not found\n0 bitmaps written from 0 files.\n");
}
