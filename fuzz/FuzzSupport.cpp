#include "FuzzSupport.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/CurrentDirs.h"
#include "platform/Drives.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

namespace fuzz {
namespace {

std::filesystem::path g_base;

void RemoveDrives() {
    std::error_code ec;
    std::filesystem::remove_all(g_base, ec);
}

} // namespace

void EnsureApplication() {
    if (QApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "sporvik_fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives as long as the process
}

void EnsureDrives() {
    if (!g_base.empty())
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "sporvik-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    g_base = pattern;
    std::filesystem::create_directories(g_base / "C" / "Sub" / "Deeper");
    std::filesystem::create_directories(g_base / "D");
    platform::DriveTable table;
    table.roots['C'] = (g_base / "C").string();
    table.roots['D'] = (g_base / "D").string();
    platform::SetDriveTable(table);
    platform::SetProgramPath("C:\\Sporvik.exe");
    platform::ResetCurrentDirs('C', "C:\\Sub");
    std::atexit(RemoveDrives);
}

void Fail(const char* check, std::string_view detail) {
    // Control bytes (a zero above all) would cut the line short or hide.
    std::string shown;
    for (const char c : detail) {
        const auto b = static_cast<unsigned char>(c);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        shown += b < 0x20 || b == 0x7F ? std::string(hex) : std::string(1, c);
    }
    std::fprintf(stderr, "broken promise: %s\n  with: %s\n", check, shown.c_str());
    std::abort();
}

} // namespace fuzz
