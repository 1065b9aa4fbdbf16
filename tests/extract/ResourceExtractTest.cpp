// Bitmap resources of program files composed here byte by byte: every one is
// written as a whole bitmap file under a name carrying its name or id, and a
// damaged resource directory is described without a read outside the file.
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <set>

#include "HostFiles.h"
#include "ProgramImage.h"
#include "TempDrives.h"
#include "WrestoolFiles.h"
#include "extract/DibFile.h"
#include "extract/Extractor.h"
#include "extract/ProgramResources.h"
#include "extract/ResourceList.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

class ResourceExtractTest : public ::testing::Test {
protected:
    std::string ReadHost(const std::string& relative) const {
        return ReadHostFile(drives.Host(relative));
    }

    std::set<std::string> BmpFiles(const std::string& dir) const {
        return FileNamesIn(drives.Host(dir), ".bmp");
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
        const ProgramResources list = ListProgramResources(file);
        for (const ProgramResource& b : list.resources) {
            ASSERT_GE(b.offset, 0);
            ASSERT_LE(b.offset + std::int64_t{b.size}, static_cast<std::int64_t>(bytes.size()));
        }
        listed += static_cast<int>(list.resources.size());
        damaged += list.problems.empty() ? 0 : 1;
    }
    EXPECT_GT(listed, 400); // most damage leaves most bitmaps readable
    EXPECT_GT(damaged, 20); // and some of it was seen
}

namespace {

GroupEntry IconEntry(const std::string& image, std::uint16_t side, std::uint16_t bits,
                     std::uint16_t id) {
    return {side, side, static_cast<std::uint8_t>(bits <= 4 ? 1u << bits : 0),
            1,    bits, static_cast<std::uint32_t>(image.size()),
            id};
}

// A program's pictures: a bitmap, icons of every depth and a PNG one in two
// groups (sharing two images), and two cursors, in the order a resource
// compiler lists them (types, then names before ids).
struct PictureSet {
    std::vector<ResourceItem> items;
    std::vector<std::string> icons;
    std::string cursor1, cursor2;
};

PictureSet MakePictureSet() {
    PictureSet p;
    p.icons = {IconImage(1, 32, 32, 1),  IconImage(4, 32, 32, 2),  IconImage(8, 16, 16, 3),
               IconImage(24, 16, 16, 4), IconImage(32, 48, 48, 5), PngImage(256, 6)};
    p.cursor1 = CursorImage(3, 5, IconImage(1, 32, 32, 7));
    p.cursor2 = CursorImage(15, 2, IconImage(4, 16, 16, 8));
    p.items.push_back(Resource(kCursorType, 1, "", p.cursor1));
    p.items.push_back(Resource(kCursorType, 2, "", p.cursor2));
    p.items.push_back(Resource(kBitmapType, 7, "", ResourceBitmap(8, 5, 3, 9)));
    const std::uint16_t bits[] = {1, 4, 8, 24, 32, 32};
    const std::uint16_t sides[] = {32, 32, 16, 16, 48, 0};
    std::vector<GroupEntry> all, some;
    for (std::uint16_t i = 0; i < 6; ++i) {
        p.items.push_back(Resource(kIconType, i + 1u, "", p.icons[i]));
        all.push_back(IconEntry(p.icons[i], sides[i], bits[i], static_cast<std::uint16_t>(i + 1)));
    }
    some = {all[3], all[2]};
    const auto cursorEntry = [](const std::string& cursor, std::uint16_t side, std::uint16_t bits,
                                std::uint16_t id) {
        return GroupEntry{side, static_cast<std::uint16_t>(2 * side),      0, 1,
                          bits, static_cast<std::uint32_t>(cursor.size()), id};
    };
    p.items.push_back(Resource(kCursorGroupType, 0, "ARROW",
                               GroupData({cursorEntry(p.cursor2, 16, 4, 2)}, true)));
    p.items.push_back(
        Resource(kCursorGroupType, 32512, "", GroupData({cursorEntry(p.cursor1, 32, 1, 1)}, true)));
    p.items.push_back(Resource(kIconGroupType, 0, "IDI_APP", GroupData(all, false)));
    p.items.push_back(Resource(kIconGroupType, 2, "", GroupData(some, false)));
    return p;
}

struct ProgramCase {
    const char* kind;
    std::string bytes;
};

std::vector<ProgramCase> EveryKindOfProgram(const std::vector<ResourceItem>& items) {
    return {{"PE32", ComposeProgram(items, false).bytes},
            {"PE32+", ComposeProgram(items, true).bytes},
            {"NE", ComposeNeProgram(items, 4).bytes},
            {"NE", ComposeNeProgram(items, 9).bytes}};
}

bool HaveIcoutils() {
    return std::system("wrestool --version >/dev/null 2>&1 && icotool --version >/dev/null 2>&1") ==
           0;
}

int RunQuietly(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// icotool lists every image of the file and has nothing to complain of.
bool IcotoolAccepts(const fs::path& file) {
    const fs::path complaints = file.string() + ".icotool";
    const int status = std::system(
        ("icotool -l '" + file.string() + "' >/dev/null 2>'" + complaints.string() + "'").c_str());
    const bool quiet = fs::file_size(complaints) == 0;
    fs::remove(complaints);
    return status == 0 && quiet;
}

} // namespace

TEST_F(ResourceExtractTest, IconAndCursorGroupsBecomeFilesAsWrestoolWritesThem) {
    if (!HaveIcoutils())
        GTEST_SKIP() << "wrestool and icotool (icoutils) are not installed";
    const PictureSet set = MakePictureSet();
    for (const ProgramCase& program : EveryKindOfProgram(set.items)) {
        SCOPED_TRACE(program.kind);
        written.clear();
        EXPECT_EQ(Extract(program.bytes), 5);
        EXPECT_TRUE(errors.empty()) << errors.front();
        const fs::path theirs = drives.Host("wrestool");
        fs::remove_all(theirs);
        fs::create_directories(theirs);
        ASSERT_EQ(RunQuietly("wrestool -x -o '" + theirs.string() + "' '" +
                             drives.Host("apps/tool.exe").string() + "'"),
                  0);
        // wrestool's names: the program, the type, the name.
        const std::pair<const char*, const char*> files[] = {
            {"tool-7.bmp", "tool.exe_2_7.bmp"},
            {"tool-ARROW.cur", "tool.exe_12_ARROW.cur"},
            {"tool-32512.cur", "tool.exe_12_32512.cur"},
            {"tool-IDI_APP.ico", "tool.exe_14_IDI_APP.ico"},
            {"tool-2.ico", "tool.exe_14_2.ico"},
        };
        EXPECT_EQ(FileNamesIn(theirs).size(), std::size(files));
        for (const auto& [ours, wrestool] : files) {
            SCOPED_TRACE(ours);
            const std::string mine = ReadHost(std::string("apps/") + ours);
            const std::string extension = fs::path(ours).extension().string();
            const std::string theirsBytes = ReadHostFile(theirs / wrestool);
            if (extension == ".bmp") {
                EXPECT_EQ(mine, theirsBytes);
                continue;
            }
            EXPECT_EQ(CompareWithWrestool(mine, theirsBytes, extension == ".cur"),
                      WrestoolMatch::Trailing);
            EXPECT_TRUE(IcotoolAccepts(drives.Host(std::string("apps/") + ours)));
        }
    }
}

TEST_F(ResourceExtractTest, IconsAndCursorsAreWrittenWholeFromEveryKindOfProgram) {
    struct Want {
        const char* file;
        const char* kind;
        std::uint32_t type;
        std::int32_t width, height;
        int bits;
        int images;
    };
    const Want want[] = {
        {"tool-7.bmp", "bmp", 2, 5, 3, 8, 0},
        {"tool-ARROW.cur", "cur", 12, 16, 16, 4, 1},
        {"tool-32512.cur", "cur", 12, 32, 32, 1, 1},
        {"tool-IDI_APP.ico", "ico", 14, 256, 256, 32, 6},
        {"tool-2.ico", "ico", 14, 16, 16, 24, 2},
    };
    const PictureSet set = MakePictureSet();
    for (const ProgramCase& program : EveryKindOfProgram(set.items)) {
        SCOPED_TRACE(program.kind);
        written.clear();
        ASSERT_EQ(Extract(program.bytes), 5);
        EXPECT_TRUE(errors.empty()) << errors.front();
        ASSERT_EQ(written.size(), std::size(want));
        const bool ne = std::string(program.kind) == "NE";
        for (std::size_t i = 0; i < std::size(want); ++i) {
            const Want& w = want[i];
            const WrittenBitmap& b = written[i];
            SCOPED_TRACE(w.file);
            EXPECT_EQ(b.file, std::string("C:\\apps\\") + w.file);
            EXPECT_EQ(b.kind, w.kind);
            EXPECT_EQ(b.resourceType, w.type);
            EXPECT_EQ(b.language, ne ? 0 : 1033);
            EXPECT_EQ(b.program, program.kind);
            EXPECT_EQ(b.width, w.width);
            EXPECT_EQ(b.height, w.height);
            EXPECT_EQ(b.bitCount, w.bits);
            const std::string bytes = ReadHost(std::string("apps/") + w.file);
            EXPECT_EQ(b.size, static_cast<std::int64_t>(bytes.size()));
            if (w.images == 0)
                continue;
            // The directory says icon or cursor and how many; a cursor's hot
            // spot stands where an icon has planes and depth.
            ASSERT_GE(bytes.size(), 22u);
            EXPECT_EQ(bytes[2], w.kind == std::string("cur") ? 2 : 1);
            EXPECT_EQ(bytes[4], w.images);
            if (w.kind == std::string("cur")) {
                const std::string& cursor = w.width == 32 ? set.cursor1 : set.cursor2;
                EXPECT_EQ(bytes.substr(10, 4), cursor.substr(0, 4));
                EXPECT_EQ(GetU32(bytes, 14), cursor.size() - 4);
                EXPECT_EQ(bytes.substr(22), cursor.substr(4));
                continue;
            }
            // Qt's own reader finds every image of the icon, the PNG one too.
            QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
            QBuffer buffer(&data);
            QImageReader reader(&buffer, "ICO");
            EXPECT_EQ(reader.imageCount(), w.images);
            std::set<int> sides;
            for (int k = 0; k < w.images; ++k) {
                ASSERT_TRUE(reader.jumpToImage(k));
                const QImage image = reader.read();
                EXPECT_FALSE(image.isNull()) << k;
                sides.insert(image.width());
            }
            const std::set<int> wantSides =
                w.images == 6 ? std::set<int>{16, 32, 48, 256} : std::set<int>{16};
            EXPECT_EQ(sides, wantSides);
        }
    }
}

TEST_F(ResourceExtractTest, DamagedGroupsAreReportedAndNeverWrittenHalf) {
    const std::string a = IconImage(4, 16, 16, 1), b = IconImage(8, 16, 16, 2);
    const std::string c = CursorImage(1, 2, IconImage(1, 32, 32, 3));
    const std::vector<ResourceItem> items = {
        Resource(kCursorType, 1, "", c),
        Resource(kIconType, 1, "", a),
        Resource(kIconType, 2, "", b),
        Resource(kCursorGroupType, 5, "",
                 GroupData({{32, 64, 0, 1, 1, static_cast<std::uint32_t>(c.size()), 1}}, true)),
        Resource(kIconGroupType, 0, "APP",
                 GroupData({IconEntry(a, 16, 4, 1), IconEntry(b, 16, 8, 2)}, false)),
        Resource(kIconGroupType, 9, "", GroupData({IconEntry(b, 16, 8, 2)}, false)),
    };
    struct Case {
        const char* what;
        std::size_t item; // the group damaged
        std::function<void(std::string& group)> damage;
        std::string problem;
    };
    const std::size_t firstEntry = 6;
    const Case cases[] = {
        {"a missing image", 4, [&](std::string& g) { PutU16(g, firstEntry + 14 + 12, 3); },
         "icon group APP: it names icon 3, which the program does not hold"},
        {"an image larger than its entry", 4,
         [&](std::string& g) {
             PutU32(g, firstEntry + 8, static_cast<std::uint32_t>(a.size() - 20));
         },
         "icon group APP: icon 1 holds "},
        {"a size of 2^32 - 1", 5, [&](std::string& g) { PutU32(g, firstEntry + 8, 0xFFFFFFFFu); },
         "icon group 9: icon 2 holds "},
        {"no image", 5, [&](std::string& g) { PutU16(g, 4, 0); },
         "icon group 9: it names no image"},
        {"more entries than bytes", 5, [&](std::string& g) { PutU16(g, 4, 200); },
         "icon group 9: its 200 entries reach past its "},
        {"a group naming itself", 3, [&](std::string& g) { PutU16(g, firstEntry + 12, 5); },
         "cursor group 5: it names cursor 5, which the program does not hold"},
        // Named 65535 times, one image would make a file of 90 MB.
        {"an image named more often than memory allows", 5,
         [&](std::string& g) {
             g = GroupData(std::vector<GroupEntry>(65535, IconEntry(b, 16, 8, 2)), false);
         },
         "icon group 9: its images come to more than"},
    };
    for (const ProgramCase& program : {ProgramCase{"PE", ""}, ProgramCase{"NE", ""}}) {
        for (const Case& k : cases) {
            SCOPED_TRACE(std::string(program.kind) + ": " + k.what);
            std::vector<ResourceItem> damaged = items;
            k.damage(damaged[k.item].data);
            const std::string bytes = program.kind[0] == 'P' ? ComposeProgram(damaged, false).bytes
                                                             : ComposeNeProgram(damaged, 4).bytes;
            errors.clear();
            written.clear();
            EXPECT_EQ(Extract(bytes), 2);
            ASSERT_EQ(errors.size(), 1u);
            EXPECT_EQ(errors[0].rfind("Damaged resources in tool.exe:\r\n" + k.problem, 0), 0u)
                << errors[0];
            std::set<std::string> files = {"tool-5.cur", "tool-APP.ico", "tool-9.ico"};
            files.erase(k.item == 3 ? "tool-5.cur" : k.item == 4 ? "tool-APP.ico" : "tool-9.ico");
            std::set<std::string> got = FileNamesIn(drives.Host("apps"));
            got.erase("tool.exe");
            EXPECT_EQ(got, files);
        }
    }
}

TEST_F(ResourceExtractTest, DamagedNeTablesAreDescribedAndNeverFollowed) {
    const std::vector<ResourceItem> items = {
        Resource(kBitmapType, 0, "TOOLBAR", ResourceBitmap(4, 16, 16, 1)),
        Resource(kBitmapType, 7, "", ResourceBitmap(8, 4, 4, 2)),
        Resource(kBitmapType, 8, "", ResourceBitmap(1, 8, 8, 3)),
    };
    const NeProgramImage sound = ComposeNeProgram(items, 4);
    const std::size_t header = sound.headerAt;
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        std::vector<std::string> files;
        std::string problem; // empty: none
    };
    const Case cases[] = {
        {"a table past the end",
         [&](std::string& s) { PutU16(s, header + 0x24, 0xFFF0); },
         {},
         "the resource table at 0x10070 lies outside the file"},
        {"a unit of 2^30 bytes",
         [&](std::string& s) { PutU16(s, sound.tableAt, 30); },
         {},
         "the resource table counts in units of 2^30 bytes"},
        {"a table ending before its types do",
         [&](std::string& s) {
             PutU16(s, header + 0x26, static_cast<std::uint16_t>(sound.tableAt - header + 20));
         },
         {},
         "the 3 resources of the type at"},
        {"a type claiming 60000 resources",
         [&](std::string& s) { PutU16(s, sound.typeAt[0] + 2, 60000); },
         {},
         "the 60000 resources of the type at"},
        {"no end to the types",
         [&](std::string& s) {
             PutU16(s, header + 0x26,
                    static_cast<std::uint16_t>(sound.typeAt[0] + 8 + 36 - header));
         },
         // The table's end cuts off the names too.
         {"tool-name0x30.bmp", "tool-7.bmp", "tool-8.bmp"},
         "the resource table runs past its end"},
        {"data past the end of the file",
         [&](std::string& s) { PutU16(s, sound.entryAt[1], 0xFFFF); },
         {"tool-TOOLBAR.bmp", "tool-8.bmp"},
         "bitmap 7: 1088 bytes at 0xFFFF0 reach outside the file"},
        {"a name outside the table",
         [&](std::string& s) { PutU16(s, sound.entryAt[0] + 6, 0x7FF0); },
         {"tool-name0x7FF0.bmp", "tool-7.bmp", "tool-8.bmp"},
         "the name at "},
        {"a length of 65535 units",
         [&](std::string& s) { PutU16(s, sound.entryAt[2] + 2, 0xFFFF); },
         {"tool-TOOLBAR.bmp", "tool-7.bmp"},
         "bitmap 8: 1048560 bytes at"},
        {"a header cut short",
         [&](std::string& s) { s.resize(header + 30); },
         {},
         "the NE header at 0x80 reaches past the end of the file"},
        {"an OS/2 program", [&](std::string& s) { s[header + 0x36] = 1; }, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = sound.bytes;
        c.damage(bytes);
        errors.clear();
        EXPECT_EQ(Extract(bytes), static_cast<int>(c.files.size()));
        EXPECT_EQ(BmpFiles("apps"), std::set<std::string>(c.files.begin(), c.files.end()));
        ASSERT_FALSE(errors.empty());
        if (c.problem.empty()) {
            EXPECT_EQ(errors, std::vector<std::string>{
                                  "tool.exe is a 16-bit OS/2 program: its resources are not read"});
            continue;
        }
        EXPECT_TRUE(std::all_of(errors.begin(), errors.end(), [](const std::string& e) {
            return e.starts_with("Damaged resources in tool.exe:\r\n");
        }));
        EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [&](const std::string& e) {
            return e.find(c.problem) != std::string::npos;
        })) << errors[0];
    }
}
