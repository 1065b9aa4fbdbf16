// Test entry for every test executable: GUI tests run on Qt's offscreen
// platform, so no display is needed, and times are read in a fixed zone.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ui/Application.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TZ", "UTC", 0);
    // Qt wants a private runtime directory and complains on every run without one.
    if (!getenv("XDG_RUNTIME_DIR")) {
        const std::string runtimeDir = "/tmp/sporvik-test-runtime-" + std::to_string(getuid());
        mkdir(runtimeDir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    }
    tzset();
    QApplication app(argc, argv);
    platform::UseClassicLook(); // as the program starts
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
