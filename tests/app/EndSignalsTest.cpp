// The program told to end by a signal closes its window as Exit does, so the
// settings file is written; run as a real process and really signalled.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "HostFiles.h"
#include "TempDrives.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The window program is built beside the test executables.
fs::path BuiltProgram() {
    return fs::read_symlink("/proc/self/exe").parent_path() / "Sporvik";
}

// Starts the program on `folder` with every end signal at its default, as a
// desktop starts it, on Qt's offscreen platform.
pid_t Start(const fs::path& program, const fs::path& folder) {
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&defaults, s);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
    const fs::path home = program.parent_path() / "home";
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
    std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "HOME=" + home.string(),
                                    "XDG_RUNTIME_DIR=" + (home / "runtime").string()};
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string path = program.string(), arg = folder.string();
    char* argv[] = {path.data(), arg.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), nullptr, &attr, argv, envp.data()) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attr);
    return pid;
}

// Whether the process has its own handler for `signal` yet (it sets them up
// before its event loop runs).
bool Catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// The exit status, or -1 when it did not end normally within the time.
int WaitForExit(pid_t pid) {
    int status = 0;
    for (auto waited = 0ms; waited < 30s; waited += 20ms) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(20ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

TEST(EndSignals, EachClosesTheWindowAndTheSettingsAreWritten) {
    testsupport::TempDrives drives; // a temp folder of the test's own
    const fs::path folder = drives.Root() / "portable";
    fs::create_directories(folder / "glyphs");
    const fs::path program = folder / "Sporvik";
    fs::copy_file(BuiltProgram(), program);
    // The program maps C: to the host root, so the folder reads as C:\...
    std::string shown = "C:" + (folder / "glyphs").string() + "/";
    std::replace(shown.begin(), shown.end(), '/', '\\');

    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        std::ofstream(folder / "Sporvik.ini", std::ios::binary) << "[options]\r\ndir=C:\\old\\\r\n";
        const pid_t pid = Start(program, folder / "glyphs");
        ASSERT_GT(pid, 0);
        for (auto waited = 0ms; waited < 30s && !Catches(pid, signal); waited += 20ms)
            std::this_thread::sleep_for(20ms);
        EXPECT_TRUE(Catches(pid, signal));
        kill(pid, signal);
        EXPECT_EQ(WaitForExit(pid), 0);
        EXPECT_EQ(testsupport::ReadHostFile(folder / "Sporvik.ini")
                      .rfind("[options]\r\ndir=" + shown + "\r\nresx=", 0),
                  0u)
            << testsupport::ReadHostFile(folder / "Sporvik.ini");
    }
}

} // namespace
