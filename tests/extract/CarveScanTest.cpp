// The carving scan over a file composed of every kind it meets: what each
// set of rules takes, what it tells, and a file cut short under the scan.
#include <filesystem>
#include <gtest/gtest.h>

#include "CarvedPictures.h"
#include "EmbeddedBitmaps.h"
#include "TempDrives.h"
#include "extract/CarveScan.h"
#include "extract/Extractor.h"
#include "fileutils/FileUtils.h"

using namespace testsupport;

namespace {

struct Composed {
    std::string bytes;
    std::vector<std::int64_t> at; // where each part begins
};

Composed Compose(const std::vector<std::string>& parts) {
    Composed c;
    for (const std::string& p : parts) {
        c.bytes += Filler(37);
        c.at.push_back(std::ssize(c.bytes));
        c.bytes += p;
    }
    return c;
}

std::vector<std::int64_t> Offsets(const CarveResult& r) {
    std::vector<std::int64_t> offsets;
    for (const CarvedBitmap& b : r.found)
        offsets.push_back(b.offset);
    return offsets;
}

} // namespace

TEST(CarveScan, EachRuleTakesItsOwnAndTheWindowsFindsStay) {
    std::string brokenPng = PngFile(5, 5, 40, 2);
    brokenPng[50] ^= 1;
    // Over the window's bound, and declaring more than is left.
    std::string cut = SoundBitmap(40, 24, 60, 40, 3);
    cut.resize(cut.size() / 2);
    enum { Small, V4, Core, Large, Png, Broken, After, Cut };
    const Composed file = Compose({ValidBitmap(300, 1), SoundBitmap(108, 8, 5, 5, 2),
                                   SoundBitmap(12, 4, 9, 9, 4), SoundBitmap(40, 24, 60, 40, 1),
                                   PngFile(7, 3, 70, 1), brokenPng, ValidBitmap(200, 5), cut});
    const auto at = [&](std::initializer_list<int> parts) {
        std::vector<std::int64_t> v;
        for (int p : parts)
            v.push_back(file.at[static_cast<std::size_t>(p)]);
        return v;
    };
    struct Case {
        const char* what;
        CarveRules rules;
        std::vector<std::int64_t> taken;
        std::size_t notes;
    };
    const Case cases[] = {
        // The window ends its scan at the large bitmap.
        {"the window's rules", {}, at({Small}), 0},
        {"any size", {true, false, false}, at({Small, Large, After}), 1},
        {"every header", {false, true, false}, at({Small, V4, Core}), 0},
        // Bitmaps end at the large one; PNG files are looked for to the end.
        {"PNG", {false, false, true}, at({Small, Png}), 1},
        {"all", {true, true, true}, at({Small, V4, Core, Large, Png, After}), 2},
    };
    TempDrives drives;
    drives.WriteFile("tool.exe", file.bytes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::FileObject f{"C:\\tool.exe"};
        OpenReadOnly(f, 1);
        const CarveResult r = CarveFile(f, std::ssize(file.bytes), c.rules, nullptr);
        f.Close();
        EXPECT_EQ(Offsets(r), c.taken);
        EXPECT_EQ(r.notes.size(), c.notes);
        for (const CarvedBitmap& b : r.found)
            EXPECT_EQ(b.held, b.size);
    }
}

TEST(CarveScan, AFileCutShortUnderTheScanIsAReadErrorAndKeepsNothingHalf) {
    TempDrives drives;
    const std::string bytes =
        Filler(3 << 20) + PngFile(7, 3, 70, 1) + Filler(100) + SoundBitmap(108, 8, 5, 5, 2);
    const auto path = drives.WriteFile("apps/tool.exe", bytes);
    std::vector<std::string> errors;
    ExtractHooks hooks;
    hooks.progress = [&](std::int64_t done, std::int64_t) {
        if (done > 0)
            std::filesystem::resize_file(path, 1 << 20);
    };
    hooks.carve.rules = {true, true, true};
    hooks.reportError = [&](const std::string& m) { errors.push_back(m); };
    TBitmapExtractor extractor("C:\\apps\\tool.exe", hooks);
    std::vector<CarvedBitmap> found;
    const ExtractOutcome outcome = extractor.Survey(found);
    EXPECT_NE(outcome.readError, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Error reading tool.exe!\r\n", 0), 0u) << errors[0];
}

// The scan holds a megabyte of the file at a time; a picture that crosses
// the end of that stretch is read in part from it and in part from the file.
TEST(CarveScan, PicturesAcrossTheHeldStretchAreTakenWhole) {
    constexpr std::int64_t kStretch = 1 << 20;
    TempDrives drives;
    for (const std::int64_t before : {kStretch - 5000, kStretch - 30, kStretch - 3, kStretch}) {
        SCOPED_TRACE(before);
        const std::string png = PngFile(7, 3, 70, 1);
        const std::string bytes =
            Filler(before) + png + Filler(20) + SoundBitmap(108, 8, 5, 5, 2) + Filler(kStretch);
        drives.WriteFile("tool.exe", bytes);
        platform::FileObject f{"C:\\tool.exe"};
        OpenReadOnly(f, 1);
        const CarveResult r = CarveFile(f, std::ssize(bytes), {true, true, true}, nullptr);
        f.Close();
        EXPECT_EQ(Offsets(r), (std::vector<std::int64_t>{before, before + std::ssize(png) + 20}));
    }
}
