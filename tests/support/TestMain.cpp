// Test entry for every test executable: GUI tests run on Qt's offscreen
// platform, so no display is needed, and times are read in a fixed zone.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TZ", "UTC", 0);
    // Qt wants a private runtime directory and complains on every run without one.
    if (!getenv("XDG_RUNTIME_DIR")) {
        static char runtimeDir[] = "/tmp/sporvik-runtime-XXXXXX";
        if (mkdtemp(runtimeDir))
            setenv("XDG_RUNTIME_DIR", runtimeDir, 1);
    }
    tzset();
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
