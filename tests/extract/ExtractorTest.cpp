// The extraction scan over executables built here: which bitmaps it takes,
// the bytes it writes, the numbering, the overwrite answers and the failure
// messages; and a comparison with a plain re-statement of its rules over
// random executables.
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "EmbeddedBitmaps.h"
#include "HostFiles.h"
#include "ScanReference.h"
#include "TempDrives.h"
#include "extract/Extractor.h"
#include "fileutils/PathParts.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

// A bitmap expected at byte `offset` of the executable, `size` bytes long.
struct Taken {
    std::size_t offset;
    std::int32_t size;
};

std::string Expected(const std::string& exe, Taken t) {
    return TakenBytes(exe, t.offset, t.size);
}

// Byte strings compared by size and first difference, not printed whole.
::testing::AssertionResult SameBytes(const std::string& got, const std::string& want) {
    if (got == want)
        return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at])
        ++at;
    return ::testing::AssertionFailure() << got.size() << " bytes where " << want.size()
                                         << " were due, first difference at byte " << at;
}

class ExtractorTest : public ::testing::Test {
protected:
    ExtractorTest() { BitmapFileNumber = 0; }

    std::string ReadHost(const std::string& relative) const {
        return ReadHostFile(drives.Host(relative));
    }

    // Names of the .bmp files in C:\<dir>, sorted.
    std::set<std::string> BmpFiles(const std::string& dir) const {
        return FileNamesIn(drives.Host(dir), ".bmp");
    }

    // Runs the scan over C:\<dir>\tool.exe, answering the overwrite
    // questions from `answers` in turn (No once they run out) and noting the
    // files asked about; in two halves (survey, then write) when `halves` is set.
    bool Run(const std::string& dir = "apps", bool halves = false) {
        ExtractHooks hooks;
        hooks.askOverwrite = [this](const std::string& fileName) {
            questions.push_back(fileName);
            if (answers.empty())
                return OverwriteAnswer::No;
            const OverwriteAnswer a = answers.front();
            answers.erase(answers.begin());
            return a;
        };
        hooks.reportError = [this](const std::string& message) { errors.push_back(message); };
        hooks.written = [this](const WrittenBitmap&) {
            if (afterWrite)
                afterWrite();
        };
        TBitmapExtractor extractor("C:\\" + dir + "\\tool.exe", hooks);
        std::vector<CarvedBitmap> found;
        ExtractOutcome outcome = halves ? extractor.Survey(found) : extractor.Run();
        if (halves && outcome.opened) {
            const int surveyError = outcome.readError;
            outcome = extractor.WriteSurveyed(found);
            outcome.readError = surveyError ? surveyError : outcome.readError;
        }
        extractCount = outcome.taken;
        readError = outcome.readError;
        return outcome.opened;
    }

    TempDrives drives;
    std::vector<OverwriteAnswer> answers;
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    std::function<void()> afterWrite; // run after each file written
    int extractCount = -1;
    int readError = -1;
};

BitmapBytes Decoy(int seed) {
    BitmapBytes d;
    d.declaredSize = 300;
    d.length = 300;
    d.seed = static_cast<unsigned>(seed);
    return d;
}

} // namespace

TEST_F(ExtractorTest, TakesExactlyTheBitmapsTheHeaderTestsAndBoundsAllow) {
    auto decoy = [](auto change) {
        BitmapBytes d = Decoy(9);
        change(d);
        return d.Bytes();
    };
    const std::string failedPlanes = decoy([](BitmapBytes& d) { d.planes = 0; });
    const std::string coreHeader = decoy([](BitmapBytes& d) { d.infoSize = 12; });
    const std::string reserved1 = decoy([](BitmapBytes& d) { d.reserved1 = 1; });
    const std::string reserved2 = decoy([](BitmapBytes& d) { d.reserved2 = 0x100; });
    auto sized = [](std::int32_t declared) {
        BitmapBytes b;
        b.declaredSize = declared;
        b.length = 60;
        b.seed = 4;
        return b.Bytes();
    };
    const std::string a = ValidBitmap(300, 1), b = ValidBitmap(450, 2);

    struct Case {
        const char* what;
        std::string exe;
        std::vector<Taken> taken;
    };
    const Case cases[] = {
        {"no BM at all", Filler(5000), {}},
        {"a failed header with a bitmap starting inside it",
         Put(Put(Filler(2000), 100, failedPlanes), 130, a),
         {{130, 300}}},
        {"each of the four tests fails on its own",
         Put(Put(Put(Put(Put(Filler(3000), 0, coreHeader), 400, reserved1), 800, reserved2), 1200,
                 failedPlanes),
             1600, a),
         {{1600, 300}}},
        {"two bitmaps back to back",
         Put(Put(Filler(1000), 10, a), 310, b),
         {{10, 300}, {310, 450}}},
        {"5000 bytes are taken",
         Put(Put(Filler(12000), 7, ValidBitmap(5000, 3)), 6000, a),
         {{7, 5000}, {6000, 300}}},
        {"5001 bytes end the scan",
         Put(Put(Put(Filler(12000), 0, a), 500, ValidBitmap(5001, 3)), 6000, b),
         {{0, 300}}},
        {"a BM in the last 53 bytes ends the scan",
         Put(Filler(400), 0, a) + ValidBitmap(300, 5).substr(0, 53),
         {{0, 300}}},
        {"a BM with exactly 54 bytes left is read",
         Put(Filler(400), 0, a) + ValidBitmap(54, 5),
         {{0, 300}, {400, 54}}},
        // A declared size of 53 puts the next search behind the bitmap that
        // starts inside it; 28 keeps the tested fields whole.
        {"declared 53 skips what lies inside it",
         Put(Put(Put(Filler(1000), 0, ValidBitmap(53, 6)), 40, a), 600, b),
         {{0, 53}, {600, 450}}},
        {"declared 28 goes on 28 bytes after the hit",
         Put(Put(Filler(1000), 0, ValidBitmap(28, 6)), 28, a),
         {{0, 28}, {28, 300}}},
        {"declared 1", Put(Put(Filler(1000), 0, sized(1)), 200, a), {{0, 1}, {200, 300}}},
        {"declared 0 is passed over like a failed test",
         Put(Put(Filler(1000), 0, sized(0)), 30, a),
         {{30, 300}}},
        {"declared -1 is passed over like a failed test",
         Put(Put(Filler(1000), 0, sized(-1)), 30, a),
         {{30, 300}}},
        {"the most negative size", Put(Put(Filler(1000), 5, sized(INT32_MIN)), 33, a), {{33, 300}}},
        // The earlier, larger bitmap must not show through the missing part.
        {"declared past the end is padded with zeros",
         Put(Filler(1000), 0, ValidBitmap(900, 7)) + ValidBitmap(4000, 8).substr(0, 120),
         {{0, 900}, {1000, 4000}}},
    };
    for (const Case& c : cases)
        for (const bool halves : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (halves ? ", in two halves" : ""));
            fs::remove_all(drives.Host("apps"));
            drives.WriteFile("apps/tool.exe", c.exe);
            BitmapFileNumber = 0;
            questions.clear();
            ASSERT_TRUE(Run("apps", halves));
            EXPECT_EQ(extractCount, static_cast<int>(c.taken.size()));
            EXPECT_EQ(BitmapFileNumber, static_cast<int>(c.taken.size()));
            EXPECT_TRUE(questions.empty());
            EXPECT_TRUE(errors.empty());
            EXPECT_EQ(BmpFiles("apps").size(), c.taken.size());
            for (std::size_t i = 0; i < c.taken.size(); ++i)
                EXPECT_TRUE(SameBytes(ReadHost("apps/" + std::to_string(i + 1) + ".bmp"),
                                      Expected(c.exe, c.taken[i])))
                    << "bitmap " << i + 1;
        }
}

TEST_F(ExtractorTest, NumbersGoOnAcrossRunsAndDirectoriesAndNoGivesTheNumberBack) {
    const std::string three =
        Put(Put(Put(Filler(2000), 0, ValidBitmap(100, 1)), 500, ValidBitmap(200, 2)), 1000,
            ValidBitmap(300, 3));
    drives.WriteFile("apps/tool.exe", three);
    drives.WriteFile("other/tool.exe", three);

    ASSERT_TRUE(Run("apps"));
    EXPECT_EQ(BmpFiles("apps"), (std::set<std::string>{"1.bmp", "2.bmp", "3.bmp"}));
    // Another directory goes on with 4; an existing 5.bmp there is asked about.
    drives.WriteFile("other/5.bmp", "old");
    answers = {OverwriteAnswer::No};
    ASSERT_TRUE(Run("other"));
    EXPECT_EQ(questions, (std::vector<std::string>{"C:\\other\\5.bmp"}));
    EXPECT_EQ(extractCount, 1);
    EXPECT_EQ(BitmapFileNumber, 4);
    EXPECT_EQ(ReadHost("other/4.bmp"), three.substr(0, 100));
    EXPECT_EQ(ReadHost("other/5.bmp"), "old");

    // No on the first bitmap of a run: nothing taken, the number given back.
    drives.WriteFile("apps/5.bmp", "old");
    questions.clear();
    answers = {OverwriteAnswer::No};
    ASSERT_TRUE(Run("apps"));
    EXPECT_EQ(extractCount, 0);
    EXPECT_EQ(BitmapFileNumber, 4);
    EXPECT_EQ(questions.size(), 1u);
}

TEST_F(ExtractorTest, FailuresAreReportedNamingOnlyTheFile) {
    const std::string exe =
        Put(Put(Filler(2000), 0, ValidBitmap(100, 1)), 500, ValidBitmap(200, 2));
    drives.WriteFile("apps/tool.exe", exe);

    // A write-protected directory: every bitmap is reported, counted and
    // numbered, and nothing is left behind.
    SetReadOnly(drives.Host("apps"));
    ASSERT_TRUE(Run());
    SetReadOnly(drives.Host("apps"), false);
    const std::string denied = "!\r\nReason: I/O Error 5\r\nFile access denied";
    EXPECT_EQ(errors, (std::vector<std::string>{"Error writing 1.bmp" + denied,
                                                "Error writing 2.bmp" + denied}));
    EXPECT_EQ(extractCount, 2);
    EXPECT_EQ(BitmapFileNumber, 2);
    EXPECT_TRUE(BmpFiles("apps").empty());

    // A read-only file in the way is reported and kept as it was.
    errors.clear();
    BitmapFileNumber = 0;
    drives.WriteFile("apps/1.bmp", "keep");
    SetReadOnly(drives.Host("apps/1.bmp"));
    answers = {OverwriteAnswer::Yes};
    ASSERT_TRUE(Run());
    EXPECT_EQ(errors, (std::vector<std::string>{"Error writing 1.bmp" + denied}));
    EXPECT_EQ(ReadHost("apps/1.bmp"), "keep");
    EXPECT_EQ(ReadHost("apps/2.bmp"), exe.substr(500, 200));

    // An executable that cannot be opened, or is not there.
    errors.clear();
    fs::permissions(drives.Host("apps/tool.exe"), fs::perms::owner_read, fs::perm_options::remove);
    EXPECT_FALSE(Run());
    drives.MakeDir("empty");
    EXPECT_FALSE(Run("empty"));
    EXPECT_EQ(errors, (std::vector<std::string>{"Error reading tool.exe" + denied,
                                                "Error reading tool.exe!\r\nReason: I/O Error "
                                                "2\r\nFile not found"}));
    EXPECT_EQ(BitmapFileNumber, 2);
}

// Files changed under the scan: what was written stays, the rest is told
// about and neither written as zeros nor passed over in silence.
TEST_F(ExtractorTest, WhatChangesUnderTheScanIsTold) {
    const std::string exe =
        Put(Put(Put(Filler(3000), 0, ValidBitmap(300, 1)), 1000, ValidBitmap(400, 2)), 2000,
            ValidBitmap(200, 3));
    const std::string missing = "!\r\nReason: I/O Error 3\r\nPath not found";
    struct Case {
        const char* what;
        std::function<void(const fs::path& exeHost)> change; // after the first file
        std::vector<std::string> errors;
        int readError;
        std::set<std::string> files;
    };
    const Case cases[] = {
        {"the executable cut short",
         [](const fs::path& host) { fs::resize_file(host, 1100); },
         {"Error reading tool.exe!\r\nReason: I/O Error 30\r\nRead error"},
         30,
         {"1.bmp"}},
        // The open executable is still read to its end.
        {"the folder removed",
         [](const fs::path& host) { fs::remove_all(host.parent_path()); },
         {"Error writing 2.bmp" + missing, "Error writing 3.bmp" + missing},
         0,
         {}},
    };
    for (const Case& c : cases)
        for (const bool halves : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (halves ? ", in two halves" : ", in one pass"));
            fs::remove_all(drives.Host("apps"));
            const auto host = drives.WriteFile("apps/tool.exe", exe);
            bool changed = false;
            afterWrite = [&] {
                if (!std::exchange(changed, true))
                    c.change(host);
            };
            BitmapFileNumber = 0;
            errors.clear();
            ASSERT_TRUE(Run("apps", halves));
            EXPECT_EQ(errors, c.errors);
            EXPECT_EQ(readError, c.readError);
            EXPECT_EQ(BitmapFileNumber, c.readError ? 1 : 3);
            if (fs::exists(drives.Host("apps"))) {
                EXPECT_EQ(BmpFiles("apps"), c.files);
                EXPECT_EQ(ReadHost("apps/1.bmp"), exe.substr(0, 300));
            }
        }
}

// Whatever holds the name of the file to be written is either replaced by
// the whole bitmap or left exactly as it was, with a message; no spare file
// stays behind.
TEST_F(ExtractorTest, WhatHoldsTheNameIsReplacedWholeOrKept) {
    const std::string exe = Put(Filler(600), 0, ValidBitmap(300, 1));
    const std::string bitmap = exe.substr(0, 300);
    const std::string denied = "Error writing 1.bmp!\r\nReason: I/O Error 5\r\nFile access denied";
    struct Case {
        const char* what;
        std::function<void()> make;
        std::vector<std::string> errors;
        std::set<std::string> names; // in C:\apps afterwards
    };
    auto old = [&] { drives.WriteFile("apps/1.bmp", std::string(4000, 'o')); };
    const Case cases[] = {
        {"a longer old file", old, {}, {"1.bmp", "tool.exe"}},
        {"a read-only old file",
         [&] {
             old();
             SetReadOnly(drives.Host("apps/1.bmp"));
         },
         {denied},
         {"1.bmp", "tool.exe"}},
        {"an old file in a write-protected folder",
         [&] {
             old();
             SetReadOnly(drives.Host("apps"));
         },
         {denied},
         {"1.bmp", "tool.exe"}},
        {"a folder", [&] { drives.MakeDir("apps/1.bmp"); }, {denied}, {"1.bmp", "tool.exe"}},
        {"a link to nowhere",
         [&] { fs::create_symlink("gone.bmp", drives.Host("apps/1.bmp")); },
         {},
         {"1.bmp", "tool.exe"}},
        {"a link that leads back to itself",
         [&] { fs::create_symlink("1.bmp", drives.Host("apps/1.bmp")); },
         {},
         {"1.bmp", "tool.exe"}},
        {"spares left by a run that was killed",
         [&] {
             old();
             drives.WriteFile("apps/.1.bmp.~0", "spare");
         },
         {},
         {"1.bmp", ".1.bmp.~0", "tool.exe"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(drives.Host("apps"));
        drives.WriteFile("apps/tool.exe", exe);
        c.make();
        std::error_code noFile; // a link that loops is none
        const std::string before = fs::is_regular_file(drives.Host("apps/1.bmp"), noFile)
                                       ? ReadHost("apps/1.bmp")
                                       : std::string();
        BitmapFileNumber = 0;
        errors.clear();
        answers = {OverwriteAnswer::Yes};
        ASSERT_TRUE(Run());
        SetReadOnly(drives.Host("apps"), false);
        EXPECT_EQ(errors, c.errors);
        EXPECT_EQ(FileNamesIn(drives.Host("apps")), c.names);
        if (c.errors.empty()) {
            EXPECT_TRUE(SameBytes(ReadHost("apps/1.bmp"), bitmap));
        } else if (!before.empty()) {
            EXPECT_TRUE(SameBytes(ReadHost("apps/1.bmp"), before));
        }
        EXPECT_FALSE(fs::exists(drives.Host("apps/gone.bmp")));
    }
}

TEST_F(ExtractorTest, AgreesWithAPlainStatementOfTheRulesOnRandomExecutables) {
    std::mt19937 rng(90210);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const OverwriteAnswer kinds[] = {OverwriteAnswer::Yes, OverwriteAnswer::No,
                                     OverwriteAnswer::All, OverwriteAnswer::Closed};
    int taken = 0;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round) + (round % 2 ? ", in two halves" : ""));
        // Random bytes from a small alphabet rich in 'B', 'M' and 0, with
        // bitmaps, decoys and odd sizes planted, some cut by the end.
        const auto size =
            static_cast<std::size_t>(pick(0, 3) == 0 ? pick(0, 120) : pick(200, 90000));
        std::string exe(size, '\0');
        const char alphabet[] = {'B', 'M', '\0', '\x01', '(', 'x'};
        for (char& c : exe)
            c = alphabet[pick(0, 5)];
        for (int k = pick(0, 12); k > 0 && size > 0; --k) {
            BitmapBytes b;
            const int kind = pick(0, 9);
            b.declaredSize = kind == 0   ? pick(-3, 60)
                             : kind == 1 ? pick(4990, 5010)
                                         : pick(54, 3000);
            b.length = std::max(54, std::min<int>(b.declaredSize, 6000));
            b.seed = static_cast<unsigned>(pick(1, 1000));
            if (kind == 2)
                b.planes = 0;
            if (kind == 3)
                b.reserved2 = 7;
            exe =
                Put(exe, static_cast<std::size_t>(pick(0, static_cast<int>(size) - 1)), b.Bytes());
            exe.resize(size);
        }
        // Some numbers already taken by files in the directory.
        fs::remove_all(drives.Host("apps"));
        drives.WriteFile("apps/tool.exe", exe);
        ReferenceRun expected;
        for (int k = pick(0, 3); k > 0; --k) {
            // Longer and shorter than the bitmaps that replace them.
            const std::string name = std::to_string(BitmapFileNumber + pick(1, 6)) + ".bmp";
            const std::string old(static_cast<std::size_t>(pick(0, 6000)), 'o');
            drives.WriteFile("apps/" + name, old);
            expected.files[name] = old;
        }
        std::vector<OverwriteAnswer> given;
        for (int k = 0; k < 8; ++k)
            given.push_back(kinds[pick(0, 3)]);

        // Every other round runs in two halves, as the command line does.
        const bool halves = round % 2 == 1;
        int number = BitmapFileNumber;
        ReferenceExtract(exe, number, given, expected);
        answers = given;
        questions.clear();
        ASSERT_TRUE(Run("apps", halves));

        EXPECT_EQ(extractCount, expected.count);
        EXPECT_EQ(BitmapFileNumber, number);
        std::vector<std::string> askedAbout;
        for (const std::string& q : questions)
            askedAbout.push_back(NamePart(q));
        EXPECT_EQ(askedAbout, expected.questions);
        std::set<std::string> names;
        for (const auto& [name, bytes] : expected.files) {
            names.insert(name);
            EXPECT_TRUE(SameBytes(ReadHost("apps/" + name), bytes)) << name;
        }
        EXPECT_EQ(BmpFiles("apps"), names);
        taken += expected.count;
    }
    EXPECT_GT(taken, 40); // the rounds really took bitmaps
    EXPECT_TRUE(errors.empty());
}
