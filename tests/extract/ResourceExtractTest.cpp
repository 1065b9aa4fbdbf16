// Bitmap resources of program files composed here byte by byte: every one is
// written as a whole bitmap file under a name carrying its name or id, and a
// damaged resource directory is described without a read outside the file.
#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sstream>

#include "ProgramImage.h"
#include "TempDrives.h"
#include "extract/DibFile.h"
#include "extract/Extractor.h"
#include "extract/PeResources.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

class ResourceExtractTest : public ::testing::Test {
protected:
    std::string ReadHost(const std::string& relative) const {
        std::ifstream in(drives.Host(relative), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::set<std::string> BmpFiles(const std::string& dir) const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(drives.Host(dir)))
            if (e.path().extension() == ".bmp")
                names.insert(e.path().filename().string());
        return names;
    }

    // Writes C:\apps\tool.exe and extracts its resources.
    int Extract(const std::string& bytes) {
        fs::remove_all(drives.Host("apps"));
        drives.WriteFile("apps/tool.exe", bytes);
        ExtractHooks hooks;
        hooks.reportError = [this](const std::string& m) { errors.push_back(m); };
        hooks.written = [this](const WrittenBitmap& b) { written.push_back(b); };
        TBitmapExtractor extractor("C:\\apps\\tool.exe", hooks);
        return extractor.ExtractResources().written;
    }

    TempDrives drives;
    std::vector<std::string> errors;
    std::vector<WrittenBitmap> written;
};

ResourceItem Bitmap(std::uint32_t id, std::string name, std::string data,
                    std::uint16_t language = 1033) {
    ResourceItem item;
    item.id = id;
    item.name = std::move(name);
    item.data = std::move(data);
    item.language = language;
    return item;
}

} // namespace

TEST_F(ResourceExtractTest, EveryBitmapResourceBecomesAWholeFileNamedAfterIt) {
    struct Want {
        const char* file;
        std::uint32_t pixelOffset; // from the start of the file
        int width, height, bits;
    };
    // Items in the order the resource directory lists them: names first.
    const std::vector<ResourceItem> items = {
        Bitmap(0, "A/B:C", ResourceBitmap(8, 3, 3, 9)),
        Bitmap(0, "Big Strip", ResourceBitmap(24, 33, 5, 4)),
        Bitmap(0, "TOOLBAR", ResourceBitmap(4, 48, 16, 2)),
        Bitmap(130, "", ResourceBitmap(1, 13, 7, 1)),
        Bitmap(130, "", ResourceBitmap(1, 13, 7, 5), 1031),
        Bitmap(131, "", ResourceBitmap(8, 20, 3, 3)),
        Bitmap(140, "", ResourceBitmap(8, 5, 5, 6, 0, 16)),
        Bitmap(141, "", ResourceBitmap(16, 7, 2, 7, 3)),
        Bitmap(142, "", ResourceBitmap(8, 6, 4, 8, 1)),
    };
    const Want want[] = {
        {"tool-A_B_C.bmp", 1078, 3, 3, 8},    {"tool-Big Strip.bmp", 54, 33, 5, 24},
        {"tool-TOOLBAR.bmp", 118, 48, 16, 4}, {"tool-130.bmp", 62, 13, 7, 1},
        {"tool-130-1031.bmp", 62, 13, 7, 1},  {"tool-131.bmp", 1078, 20, 3, 8},
        {"tool-140.bmp", 118, 5, 5, 8},       {"tool-141.bmp", 66, 7, 2, 16},
        {"tool-142.bmp", 1078, 6, 4, 8}, // run-length coded pixels still follow the colours
    };
    std::vector<ResourceItem> withIcon = items;
    ResourceItem icon = Bitmap(1, "", ResourceBitmap(4, 16, 16, 11));
    icon.type = kIconType;
    withIcon.push_back(icon);

    for (const bool is64 : {false, true}) {
        SCOPED_TRACE(is64 ? "64-bit" : "32-bit");
        const ProgramImage program = ComposeProgram(withIcon, is64);
        written.clear();
        EXPECT_EQ(Extract(program.bytes), static_cast<int>(items.size()));
        EXPECT_TRUE(errors.empty()) << errors.front();
        std::set<std::string> files;
        ASSERT_EQ(written.size(), items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(want[i].file);
            files.insert(want[i].file);
            const std::string bytes = ReadHost(std::string("apps/") + want[i].file);
            ASSERT_EQ(bytes.size(), 14 + items[i].data.size());
            EXPECT_EQ(bytes.substr(0, 2), "BM");
            EXPECT_EQ(GetU32(bytes, 2), bytes.size());
            EXPECT_EQ(GetU32(bytes, 6), 0u); // both reserved words
            EXPECT_EQ(GetU32(bytes, 10), want[i].pixelOffset);
            EXPECT_EQ(bytes.substr(14), items[i].data);
            const WrittenBitmap& w = written[i];
            EXPECT_EQ(w.file, std::string("C:\\apps\\") + want[i].file);
            EXPECT_EQ(w.offset, static_cast<std::int64_t>(program.dataAt[i]));
            EXPECT_EQ(w.size, static_cast<std::int64_t>(bytes.size()));
            EXPECT_EQ(std::tie(w.width, w.height, w.bitCount),
                      std::tie(want[i].width, want[i].height, want[i].bits));
            EXPECT_EQ(w.resource,
                      items[i].name.empty() ? std::to_string(items[i].id) : items[i].name);
        }
        EXPECT_EQ(BmpFiles("apps"), files);
    }
}

// The file header is only right when a bitmap reader finds the pixels where
// it says: the colour of the first pixel stored is looked up in the palette.
TEST_F(ResourceExtractTest, WrittenFilesShowTheirPixelsInABitmapReader) {
    const std::string dibs[] = {ResourceBitmap(1, 16, 2, 21), ResourceBitmap(4, 9, 4, 22),
                                ResourceBitmap(8, 10, 3, 23), ResourceBitmap(24, 4, 4, 24)};
    std::vector<ResourceItem> items;
    for (std::uint32_t i = 0; i < 4; ++i)
        items.push_back(Bitmap(i + 1, "", dibs[i]));
    ASSERT_EQ(Extract(ComposeProgram(items, false).bytes), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const std::string& dib = dibs[i];
        const int bits = dib[14];
        const std::size_t palette = bits <= 8 ? (std::size_t{4} << bits) : 0;
        const auto first = static_cast<unsigned char>(dib[40 + palette]);
        const std::size_t index = bits == 1 ? first >> 7 : bits == 4 ? first >> 4 : first;
        const std::size_t at = bits == 24 ? 40 : 40 + 4 * index; // blue, green, red
        const QRgb expected =
            qRgb(static_cast<unsigned char>(dib[at + 2]), static_cast<unsigned char>(dib[at + 1]),
                 static_cast<unsigned char>(dib[at]));
        QImage image;
        const std::string file = ReadHost("apps/tool-" + std::to_string(i + 1) + ".bmp");
        ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(file.data()),
                                       static_cast<int>(file.size()), "BMP"));
        // Rows are stored from the bottom up.
        EXPECT_EQ(image.pixel(0, image.height() - 1) & 0xFFFFFF, expected & 0xFFFFFF);
    }
}

TEST_F(ResourceExtractTest, DamagedDirectoriesAreDescribedAndTheSoundPartsStillTaken) {
    const std::vector<ResourceItem> items = {
        Bitmap(0, "X", ResourceBitmap(1, 8, 8, 1)),
        Bitmap(1, "", ResourceBitmap(8, 4, 4, 2)),
        Bitmap(2, "", ResourceBitmap(4, 6, 2, 3)),
    };
    const ProgramImage sound = ComposeProgram(items, false);
    const std::size_t rootEntries = sound.resourceStart + 12;
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        std::vector<std::string> files;
        std::string problem;
    };
    const Case cases[] = {
        {"a name leading back to the root",
         [&](std::string& s) { PutU32(s, sound.nameEntryAt[1] + 4, 0x80000000u); },
         {"tool-X.bmp", "tool-2.bmp"},
         "reached twice (a loop)"},
        {"a name leading back to its own type's directory",
         [&](std::string& s) {
             PutU32(s, sound.nameEntryAt[0] + 4, GetU32(s, sound.typeEntryAt[0] + 4));
         },
         {"tool-1.bmp", "tool-2.bmp"},
         "reached twice (a loop)"},
        {"two names sharing one directory",
         [&](std::string& s) {
             PutU32(s, sound.nameEntryAt[2] + 4, GetU32(s, sound.nameEntryAt[1] + 4));
         },
         {"tool-X.bmp", "tool-1.bmp"},
         "reached twice"},
        {"data past the end of the file",
         [&](std::string& s) { PutU32(s, sound.dataEntryAt[1], 0x7FFFFF00u); },
         {"tool-X.bmp", "tool-2.bmp"},
         "bitmap 1: "},
        {"a size of 2^31",
         [&](std::string& s) { PutU32(s, sound.dataEntryAt[2] + 4, 0x80000000u); },
         {"tool-X.bmp", "tool-1.bmp"},
         "bitmap 2: 2147483648 bytes"},
        {"a size of 2^32 - 1",
         [&](std::string& s) { PutU32(s, sound.dataEntryAt[0] + 4, 0xFFFFFFFFu); },
         {"tool-1.bmp", "tool-2.bmp"},
         "bitmap X: 4294967295 bytes"},
        {"a type directory past the end",
         [&](std::string& s) { PutU32(s, sound.typeEntryAt[0] + 4, 0xFFFFFFF0u); },
         {},
         "lies outside the file"},
        {"a root claiming 131070 entries",
         [&](std::string& s) { PutU32(s, rootEntries, 0xFFFFFFFFu); },
         {},
         "reach outside the file"},
        {"a language directory past the end",
         [&](std::string& s) { PutU32(s, sound.nameEntryAt[1] + 4, 0x80000000u | 0x7FFFFFF0u); },
         {"tool-X.bmp", "tool-2.bmp"},
         "lies outside the file"},
        {"a language entry that is a directory",
         [&](std::string& s) {
             const std::size_t langDir =
                 sound.resourceStart + (GetU32(s, sound.nameEntryAt[2] + 4) & 0x7FFFFFFF);
             PutU32(s, langDir + 16 + 4, 0x80000000u);
         },
         {"tool-X.bmp", "tool-1.bmp"},
         "bitmap 2: a directory where its data was due"},
        {"a file cut inside the last bitmap",
         [&](std::string& s) { s.resize(sound.dataAt[2] + 20); },
         {"tool-X.bmp", "tool-1.bmp"},
         "bitmap 2: "},
        {"an information header of 20 bytes",
         [&](std::string& s) { PutU32(s, sound.dataAt[1], 20); },
         {"tool-X.bmp", "tool-2.bmp"},
         "bitmap 1: an information header of 20 bytes"},
        {"a colour table larger than the bitmap",
         [&](std::string& s) { PutU32(s, sound.dataAt[0] + 32, 0x40000000u); },
         {"tool-1.bmp", "tool-2.bmp"},
         "bitmap X: its colour table reaches past"},
        {"the resource table's address in no section",
         [&](std::string& s) { PutU32(s, 0x80 + 24 + 96 + 16, 0x00F00000u); },
         {},
         "lies outside the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = sound.bytes;
        c.damage(bytes);
        errors.clear();
        EXPECT_EQ(Extract(bytes), static_cast<int>(c.files.size()));
        EXPECT_EQ(BmpFiles("apps"), std::set<std::string>(c.files.begin(), c.files.end()));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind("Damaged resources in tool.exe:\r\n", 0), 0u) << errors[0];
        EXPECT_NE(errors[0].find(c.problem), std::string::npos) << errors[0];
    }
}

TEST_F(ResourceExtractTest, FilesThatAreNoProgramsOrHoldNoResourcesGiveNothingQuietly) {
    std::string noResources = ComposeProgram({}, true).bytes;
    PutU32(noResources, 0x80 + 24 + 112 + 16, 0); // no resource table at all
    const std::string cases[] = {
        "",
        "MZ",
        std::string(5000, 'x'),
        ComposeProgram({}, false).bytes,
        noResources,
        // "MZ" with the PE header's offset past the end of the file
        [] {
            std::string s(200, '\0');
            s[0] = 'M';
            s[1] = 'Z';
            PutU32(s, 60, 0xFFFFFF00u);
            return s;
        }(),
    };
    for (const std::string& bytes : cases) {
        errors.clear();
        EXPECT_EQ(Extract(bytes), 0);
        EXPECT_TRUE(errors.empty()) << errors.front();
        EXPECT_TRUE(BmpFiles("apps").empty());
    }
}

// Random damage anywhere in the headers and the resource section: the
// listing ends, and whatever it lists lies wholly inside the file.
TEST_F(ResourceExtractTest, RandomDamageNeverLeadsOutsideTheFile) {
    std::vector<ResourceItem> items;
    for (std::uint32_t i = 0; i < 6; ++i)
        items.push_back(Bitmap(i, i % 2 ? "" : "N" + std::to_string(i),
                               ResourceBitmap(i % 2 ? 8 : 4, 5, 5, i)));
    const ProgramImage sound = ComposeProgram(items, true);
    drives.WriteFile("apps/tool.exe", sound.bytes);
    std::mt19937 rng(14);
    int listed = 0, damaged = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = sound.bytes;
        for (int k = 1 + static_cast<int>(rng() % 6); k > 0; --k) {
            // Half the hits in the directories, where damage matters most.
            const std::size_t at =
                rng() % 2 ? sound.resourceStart + rng() % 200 : rng() % bytes.size();
            bytes[at] = static_cast<char>(rng() % 3 == 0 ? 0xFF : rng());
        }
        if (rng() % 8 == 0)
            bytes.resize(rng() % bytes.size());
        drives.WriteFile("apps/tool.exe", bytes);
        platform::FileObject file{"C:\\apps\\tool.exe"};
        file.Reset(platform::FileAccess::ReadOnly, 1);
        const PeResourceList list = ListBitmapResources(file);
        for (const PeBitmapResource& b : list.bitmaps) {
            ASSERT_GE(b.offset, 0);
            ASSERT_LE(b.offset + std::int64_t{b.size}, static_cast<std::int64_t>(bytes.size()));
        }
        listed += static_cast<int>(list.bitmaps.size());
        damaged += list.problems.empty() ? 0 : 1;
    }
    EXPECT_GT(listed, 400); // most damage leaves most bitmaps readable
    EXPECT_GT(damaged, 20); // and some of it was seen
}
