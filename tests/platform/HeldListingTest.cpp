#include <gtest/gtest.h>

#include <filesystem>

#include "TempDrives.h"
#include "platform/FileObject.h"
#include "platform/HeldListing.h"
#include "platform/Paths.h"

using namespace platform;

namespace {

// Names of more than a few letters, so a look-up ignoring case cannot try
// every spelling and has to rely on a listing.
TEST(HeldListing, FindsWhatAListingWouldFind) {
    enum class Made { Before, DuringByUs, DuringThenRemoved, Never };
    const struct {
        Made made;
        const char* found; // host name the other spelling resolves to
    } cases[] = {
        {Made::Before, "Toolbar-Open.bmp"},
        {Made::DuringByUs, "Toolbar-Open.bmp"},
        {Made::DuringThenRemoved, "TOOLBAR-OPEN.BMP"},
        {Made::Never, "TOOLBAR-OPEN.BMP"},
    };
    for (const auto& c : cases) {
        testsupport::TempDrives drives;
        drives.MakeDir("out");
        if (c.made == Made::Before)
            drives.WriteFile("out/Toolbar-Open.bmp", "BM");
        const THeldListing held(drives.Host("out/").string());
        if (c.made == Made::DuringByUs || c.made == Made::DuringThenRemoved) {
            FileObject f("C:\\out\\Toolbar-Open.bmp");
            f.CreateNew(1);
            f.Close();
        }
        if (c.made == Made::DuringThenRemoved)
            std::filesystem::remove(drives.Host("out/Toolbar-Open.bmp"));
        std::string host;
        ASSERT_EQ(ToHostPath("C:\\out\\TOOLBAR-OPEN.BMP", host), 0);
        EXPECT_EQ(host, drives.Host("out").string() + "/" + c.found) << int(c.made);
    }
}

TEST(HeldListing, EndsWithItsHolder) {
    testsupport::TempDrives drives;
    drives.MakeDir("out");
    { const THeldListing held(drives.Host("out").string()); }
    drives.WriteFile("out/Toolbar-Open.bmp", "BM"); // not through the program
    std::string host;
    ASSERT_EQ(ToHostPath("C:\\out\\TOOLBAR-OPEN.BMP", host), 0);
    EXPECT_EQ(host, drives.Host("out/Toolbar-Open.bmp").string());
}

} // namespace
