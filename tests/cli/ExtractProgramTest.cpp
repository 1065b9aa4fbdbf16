// The installed program itself, started as a script would start it: no
// display, no Qt platform chosen, and the exit status as the only answer.
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
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

// A file of `count` stored bitmaps between runs of filler bytes; with
// `spoilt`, each fails the planes test, so the scan is the same but nothing
// is written.
std::string StoredBitmaps(int count, bool spoilt) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        std::string bmp(14, '\0');
        bmp[0] = 'B';
        bmp[1] = 'M';
        bmp += ResourceBitmap(8, 4 + i % 5, 4, static_cast<unsigned>(i));
        PutU32(bmp, 2, static_cast<std::uint32_t>(bmp.size()));
        PutU32(bmp, 10, 14 + 40 + 256 * 4);
        if (spoilt)
            bmp[26] = 0;
        bytes += std::string(300, 'x') + bmp;
    }
    return bytes;
}

// The calls of each kind strace counted (-c), and their total.
std::map<std::string, long> CallCounts(const fs::path& log) {
    std::map<std::string, long> calls;
    std::istringstream in(testsupport::ReadHostFile(log));
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string w; fields >> w;)
            f.push_back(w);
        if (f.size() >= 5 && std::isdigit(static_cast<unsigned char>(f[3][0])))
            calls[f.back()] = std::stol(f[3]);
    }
    return calls;
}

// The calls a run makes for its files. Memory and scheduling calls are left out:
// how often the allocator asks for memory and how often threads yield follow the
// heap and the machine's load (a sanitizer's above all), not the files written.
long FileCalls(std::map<std::string, long> calls) {
    long total = calls["total"];
    for (const char* other :
         {"mmap", "munmap", "mprotect", "madvise", "mremap", "brk", "futex", "sched_yield"})
        total -= calls[other];
    return total;
}

// Each call whose count differs between two runs, for the failure message.
std::string CallDifferences(std::map<std::string, long> more, std::map<std::string, long> less) {
    std::string text;
    for (const auto& [name, count] : more)
        if (count != less[name])
            text += name + " " + std::to_string(count - less[name]) + "\n";
    return text;
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
// Writing a file new into a folder costs a few calls of its own, however many
// files the folder holds: its existence is not asked first, and the folder is
// read once at most, not once per name.
TEST(ExtractProgram, EachFileWrittenCostsAFewSystemCallsInAFolderOfAnySize) {
    if (std::system("strace -o /dev/null true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "strace cannot trace here";
    constexpr int kBitmaps = 60;
    TempDrives drives;
    drives.WriteFile("in/stored.bin", StoredBitmaps(kBitmaps, false));
    drives.WriteFile("in/spoilt.bin", StoredBitmaps(kBitmaps, true));
    for (int i = 0; i < 3000; ++i)
        drives.WriteFile("full/glyph" + std::to_string(i) + ".bmp", "");
    const auto traced = [&drives](const std::string& input) {
        const fs::path log = drives.Host("strace.txt");
        const std::string command =
            "strace -f -c -o " + Quoted(log.string()) + " " + Quoted(ProgramPath().string()) +
            " -q -o " + Quoted(drives.Host("full").string()) + " " +
            Quoted(drives.Host("in/" + input).string()) + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << input; // 1: none found
        return CallCounts(log);
    };
    auto spoilt = traced("spoilt.bin");
    auto stored = traced("stored.bin");
    ASSERT_TRUE(fs::exists(drives.Host("full/" + std::to_string(kBitmaps) + ".bmp")));
    // Once a run: reading the folder, watching it, and the like.
    constexpr int kOnceARun = 40;
    EXPECT_LE(FileCalls(stored) - FileCalls(spoilt), 8 * kBitmaps + kOnceARun)
        << CallDifferences(stored, spoilt);
    // Reading 3000 names takes a handful of calls; once per name, hundreds.
    EXPECT_LE(stored["getdents64"] - spoilt["getdents64"], 10);
}
