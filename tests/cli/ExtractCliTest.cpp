// sporvik-extract run in-process over program files composed here: the files
// it writes, its messages, questions and JSON records, and its exit status.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

#include "CarvedPictures.h"
#include "EmbeddedBitmaps.h"
#include "HostFiles.h"
#include "ProgramImage.h"
#include "TempDrives.h"
#include "cli/ExtractCommand.h"
#include "cli/JsonRecord.h"
#include "extract/Extractor.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

// A bitmap file as it lies in a program: a file header in front of a bitmap.
std::string BmFile(const std::string& dib, std::uint32_t pixelOffset) {
    std::string s(14, '\0');
    s[0] = 'B';
    s[1] = 'M';
    PutU32(s, 2, static_cast<std::uint32_t>(14 + dib.size()));
    PutU32(s, 10, pixelOffset);
    return s + dib;
}

// A program with two bitmap resources and `carved` bitmap files stored
// behind them, and where those lie.
struct Program {
    std::string bytes;
    std::vector<std::size_t> resourceAt; // of "STRIP", then of 7
    std::vector<std::size_t> carvedAt;
    std::vector<std::string> carved;
};

Program MakeProgram(int carved, unsigned seed = 1) {
    ResourceItem a;
    a.id = 7;
    a.data = ResourceBitmap(8, 4, 4, seed);
    ResourceItem b;
    b.name = "STRIP";
    b.data = ResourceBitmap(4, 64, 16, seed + 1);
    const ProgramImage image = ComposeProgram({b, a}, false);
    Program p{image.bytes, image.dataAt, {}, {}};
    for (int i = 0; i < carved; ++i) {
        p.bytes += std::string(100, 'x');
        p.carvedAt.push_back(p.bytes.size());
        p.carved.push_back(BmFile(ResourceBitmap(24, 3 + i, 2, seed + 10 + i), 54));
        p.bytes += p.carved.back();
    }
    return p;
}

class ExtractCliTest : public ::testing::Test {
protected:
    ExtractCliTest() { program = MakeProgram(3); }

    int Run(const std::vector<std::string>& args, const std::string& input = "",
            bool terminal = false) {
        std::ostringstream o, e;
        std::istringstream in(input);
        status = RunExtractCommand(args, {o, e, in, terminal});
        out = o.str();
        err = e.str();
        return status;
    }

    std::string Host(const std::string& relative) const { return drives.Host(relative).string(); }

    std::string Read(const std::string& relative) const {
        return ReadHostFile(drives.Host(relative));
    }

    std::set<std::string> BmpFiles(const std::string& dir) const {
        return FileNamesIn(drives.Host(dir), ".bmp");
    }

    TempDrives drives;
    Program program;
    std::string out, err;
    int status = -1;
};

using Files = std::set<std::string>;

} // namespace

TEST_F(ExtractCliTest, WritesTheCarvedBitmapsAndOnRequestTheResources) {
    struct Case {
        const char* what;
        std::vector<std::string> args; // "@x" stands for the host path of C:\x
        Files apps, outDir;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"beside the file",
         {"@apps/tool.exe"},
         {"1.bmp", "2.bmp", "3.bmp"},
         {},
         0,
         "3 bitmaps written from 1 file.\n"},
        {"with the resources",
         {"--resources", "@apps/tool.exe"},
         {"1.bmp", "2.bmp", "3.bmp", "tool-7.bmp", "tool-STRIP.bmp"},
         {},
         0,
         "5 bitmaps written from 1 file.\n"},
        {"elsewhere, from another number",
         {"-o", "@out/new", "--start", "10", "@apps/tool.exe"},
         {},
         {"10.bmp", "11.bmp", "12.bmp"},
         0,
         "3 bitmaps written from 1 file.\n"},
        {"quietly", {"-q", "@apps/tool.exe"}, {"1.bmp", "2.bmp", "3.bmp"}, {}, 0, ""},
        {"from a file without bitmaps", {"@apps/none.exe"}, {}, {}, 1, "No bitmaps found.\n"},
        {"from a missing file and a sound one",
         {"@apps/missing.exe", "@apps/tool.exe"},
         {"1.bmp", "2.bmp", "3.bmp"},
         {},
         2,
         "sporvik-extract: Error reading missing.exe!\nReason: I/O Error 2\nFile not found\n"
         "3 bitmaps written from 1 file.\n"},
        // A failure is told with its reason and is no "No bitmaps found.".
        {"from a directory",
         {"@apps"},
         {},
         {},
         2,
         "sporvik-extract: Error reading apps!\nReason: I/O Error 5\nFile access denied\n"
         "0 bitmaps written from 0 files.\n"},
        {"from a link that leads back to itself",
         {"@apps/loop.exe"},
         {},
         {},
         2,
         "sporvik-extract: Error reading loop.exe!\nReason: I/O Error 3\nPath not found\n"
         "0 bitmaps written from 0 files.\n"},
        {"from a missing file named in UTF-8",
         {"@apps/w\xC3\xB6rk.exe"},
         {},
         {},
         2,
         "sporvik-extract: Error reading w\xC3\xB6rk.exe!\nReason: I/O Error 2\n"},
        {"with an option it does not know",
         {"--fast", "@apps/tool.exe"},
         {},
         {},
         2,
         "sporvik-extract: unknown option --fast\nTry 'sporvik-extract --help'.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(drives.Host("apps"));
        fs::remove_all(drives.Host("out"));
        drives.WriteFile("apps/tool.exe", program.bytes);
        drives.WriteFile("apps/none.exe", std::string(70000, 'B'));
        fs::create_symlink("loop.exe", drives.Host("apps/loop.exe"));
        std::vector<std::string> args;
        for (const std::string& a : c.args)
            args.push_back(a[0] == '@' ? Host(a.substr(1)) : a);
        EXPECT_EQ(Run(args), c.status);
        EXPECT_EQ(err.substr(0, c.err.size()), c.err);
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(BmpFiles("apps"), c.apps);
        EXPECT_EQ(BmpFiles("out/new"), c.outDir);
        // The carved files hold the bytes as they were stored.
        if (c.apps.count("3.bmp")) {
            for (std::size_t i = 0; i < program.carved.size(); ++i)
                EXPECT_EQ(Read("apps/" + std::to_string(i + 1) + ".bmp"), program.carved[i]);
        }
    }
}

TEST_F(ExtractCliTest, ExistingFilesAreKeptReplacedOrAskedAbout) {
    const std::string question = "File 2.bmp\nalready exists. Overwrite? [y]es, [n]o, [a]ll: ";
    struct Case {
        const char* what;
        std::vector<std::string> options;
        std::string input;
        bool replaced2, replaced3; // 2.bmp and 3.bmp exist before
        std::string err;
    };
    const Case cases[] = {
        {"kept by default",
         {},
         "",
         false,
         false,
         "sporvik-extract: 2.bmp already exists: this file's extraction stops here "
         "(--overwrite yes replaces it)\n1 bitmap written from 1 file.\n"},
        {"replaced", {"--overwrite", "yes"}, "", true, true, "3 bitmaps written from 1 file.\n"},
        {"No",
         {"--overwrite", "ask"},
         "n\n",
         false,
         false,
         question + "1 bitmap written from 1 file.\n"},
        {"nobody answers",
         {"--overwrite", "ask"},
         "",
         false,
         false,
         question + "1 bitmap written from 1 file.\n"},
        {"Yes, then No",
         {"--overwrite", "ask"},
         "y\nno\n",
         true,
         false,
         question + question.substr(0, 5) + "3" + question.substr(6) +
             "2 bitmaps written from 1 file.\n"},
        {"All after an answer it does not know",
         {"--overwrite", "ask"},
         "maybe\na\n",
         true,
         true,
         question + question + "3 bitmaps written from 1 file.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(drives.Host("apps"));
        drives.WriteFile("apps/tool.exe", program.bytes);
        drives.WriteFile("apps/2.bmp", "old 2");
        drives.WriteFile("apps/3.bmp", "old 3");
        std::vector<std::string> args = c.options;
        args.push_back(Host("apps/tool.exe"));
        EXPECT_EQ(Run(args, c.input), 0);
        EXPECT_EQ(err, c.err);
        EXPECT_EQ(Read("apps/1.bmp"), program.carved[0]);
        EXPECT_EQ(Read("apps/2.bmp"), c.replaced2 ? program.carved[1] : "old 2");
        EXPECT_EQ(Read("apps/3.bmp"), c.replaced3 ? program.carved[2] : "old 3");
    }
    // Nothing written because the first file was kept: a bitmap was found.
    drives.WriteFile("apps/1.bmp", "old 1");
    EXPECT_EQ(Run({Host("apps/tool.exe")}), 1);
    EXPECT_EQ(err, "sporvik-extract: 1.bmp already exists: this file's extraction stops here "
                   "(--overwrite yes replaces it)\n0 bitmaps written from 1 file.\n");
}

TEST_F(ExtractCliTest, AnOutputDirectoryThatCannotBeWrittenIsATrouble) {
    drives.WriteFile("apps/tool.exe", program.bytes);
    drives.MakeDir("locked");
    SetReadOnly(drives.Host("locked"));
    EXPECT_EQ(Run({"-o", Host("locked"), Host("apps/tool.exe")}), 2);
    SetReadOnly(drives.Host("locked"), false);
    EXPECT_EQ(err.rfind("sporvik-extract: Error writing 1.bmp!\nReason: I/O Error 5\n", 0), 0u)
        << err;
    EXPECT_EQ(err.substr(err.rfind("sporvik-extract: ")),
              "sporvik-extract: Error writing 3.bmp!\n"
              "Reason: I/O Error 5\nFile access denied\n"
              "0 bitmaps written from 1 file.\n");
    EXPECT_TRUE(BmpFiles("locked").empty());
    // A file where the directory should be; its name comes back as typed.
    drives.WriteFile("pl\xC3\xA4tt", "x");
    EXPECT_EQ(Run({"-o", Host("pl\xC3\xA4tt"), Host("apps/tool.exe")}), 2);
    EXPECT_EQ(err, "sporvik-extract: cannot make the output directory " + Host("pl\xC3\xA4tt") +
                       "\nReason: I/O Error 80\nFile already exists\n");
    // A directory on the way that cannot be made says why.
    EXPECT_EQ(Run({"-o", "/proc/sporvik/out", Host("apps/tool.exe")}), 2);
    EXPECT_EQ(err.rfind("sporvik-extract: cannot make the output directory /proc/sporvik/out\n"
                        "Reason: I/O Error 2\nFile not found\n",
                        0),
              0u)
        << err;
}

TEST_F(ExtractCliTest, JsonRecordsDescribeEveryFileWritten) {
    drives.WriteFile("apps/tool.exe", program.bytes);
    const std::string source = Host("apps/tool.exe");
    EXPECT_EQ(Run({"--json", "--resources", "-o", Host("out"), "--start", "5", source}), 0);
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    auto record = [&](std::size_t offset, std::size_t size, const std::string& file, int w, int h,
                      int bits, const std::string& resource) {
        return "{\"source\":\"" + source + "\",\"offset\":" + std::to_string(offset) +
               ",\"size\":" + std::to_string(size) + ",\"file\":\"" + Host("out/" + file) +
               "\",\"width\":" + std::to_string(w) + ",\"height\":" + std::to_string(h) +
               ",\"bits\":" + std::to_string(bits) + ",\"kind\":\"bmp\"" +
               (resource.empty() ? ""
                                 : ",\"type\":2,\"language\":1033,\"program\":\"PE32\""
                                   ",\"resource\":\"" +
                                       resource + "\"") +
               "}";
    };
    const std::vector<std::string> want = {
        record(program.carvedAt[0], 78, "5.bmp", 3, 2, 24, ""),
        record(program.carvedAt[1], 78, "6.bmp", 4, 2, 24, ""),
        record(program.carvedAt[2], 86, "7.bmp", 5, 2, 24, ""),
        record(program.resourceAt[0], 14 + 40 + 64 + 32 * 16, "tool-STRIP.bmp", 64, 16, 4, "STRIP"),
        record(program.resourceAt[1], 14 + 40 + 1024 + 16, "tool-7.bmp", 4, 4, 8, "7"),
    };
    EXPECT_EQ(lines, want);
    EXPECT_EQ(err, "5 bitmaps written from 1 file.\n");
}

TEST(JsonString, QuotesAndControlCharactersAreEscapedAndUtf8Kept) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:/a b.exe", "\"C:/a b.exe\""},
        {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {"tab\tline\n\x01", "\"tab\\u0009line\\u000a\\u0001\""},
        {"gr\xC3\xBC\xC3\x9F", "\"gr\xC3\xBC\xC3\x9F\""},
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(JsonString(text), json);
}

TEST_F(ExtractCliTest, TheProgressBarIsDrawnOnlyOnATerminal) {
    drives.WriteFile("apps/tool.exe", program.bytes + std::string(300000, 'x'));
    const std::string path = Host("apps/tool.exe");
    const std::string label = path.size() > 40 ? "..." + path.substr(path.size() - 37) : path;
    Run({"--overwrite=yes", path}, "", true);
    // The bar starts at 0 %, is redrawn in place up to 100 %, and leaves the
    // line clean for the summary.
    EXPECT_EQ(err.rfind("\r" + std::string(30, '.') + "   0% " + label, 0), 0u) << err;
    EXPECT_NE(err.find("\r" + std::string(30, '#') + " 100% " + label), std::string::npos) << err;
    EXPECT_GE(std::count(err.begin(), err.end(), '\r'), 3);
    const std::size_t lastReturn = err.rfind('\r');
    EXPECT_EQ(err.substr(lastReturn + 1), "3 bitmaps written from 1 file.\n");
    EXPECT_EQ(err.substr(lastReturn - 70, 70), std::string(70, ' '));

    Run({"--overwrite=yes", "-q", path}, "", true);
    EXPECT_EQ(err, "");
    Run({"--overwrite=yes", path}, "", false);
    EXPECT_EQ(err, "3 bitmaps written from 1 file.\n");
}

TEST_F(ExtractCliTest, HelpAndVersionGoToStandardOutput) {
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_EQ(out.rfind("Usage: sporvik-extract [options] FILE...\n", 0), 0u);
    EXPECT_EQ(err, "");
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out.rfind("sporvik-extract 1.", 0), 0u);
}

// Many files are scanned at once; the names still follow the order given,
// and so do the messages, run after run.
TEST_F(ExtractCliTest, ManyFilesAreNumberedAndReportedInTheOrderGiven) {
    const int counts[] = {2, 0, 3, 1, 4, 0, 2, 3, 1, 2, 5, 1};
    std::vector<std::string> args = {"--resources"};
    for (std::size_t i = 0; i < std::size(counts); ++i)
        args.push_back(Host("d" + std::to_string(i) + "/p" + std::to_string(i) + ".exe"));
    // A missing file, and a kept file that stops the one after it.
    args[6] = Host("d5/missing.exe");
    const int keptAt = 16; // the first number of the file in d8
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        for (std::size_t i = 0; i < std::size(counts); ++i) {
            fs::remove_all(drives.Host("d" + std::to_string(i)));
            drives.WriteFile("d" + std::to_string(i) + "/p" + std::to_string(i) + ".exe",
                             MakeProgram(counts[i], static_cast<unsigned>(i)).bytes);
        }
        drives.WriteFile("d8/" + std::to_string(keptAt) + ".bmp", "kept");
        EXPECT_EQ(Run(args), 2);
        EXPECT_EQ(err, "sporvik-extract: Error reading missing.exe!\nReason: I/O Error 2\n"
                       "File not found\n"
                       "sporvik-extract: " +
                           std::to_string(keptAt) +
                           ".bmp already exists: this file's extraction stops here "
                           "(--overwrite yes replaces it)\n"
                           "45 bitmaps written from 11 files.\n");
        int number = 0;
        for (std::size_t i = 0; i < std::size(counts); ++i) {
            if (i == 5)
                continue;
            const std::string dir = "d" + std::to_string(i);
            const Program p = MakeProgram(counts[i], static_cast<unsigned>(i));
            // The file in d8 stops at its first bitmap; its resources still come.
            const int taken = i == 8 ? 0 : counts[i];
            Files want = {"p" + std::to_string(i) + "-7.bmp",
                          "p" + std::to_string(i) + "-STRIP.bmp"};
            for (int k = 0; k < taken; ++k) {
                want.insert(std::to_string(++number) + ".bmp");
                EXPECT_EQ(Read(dir + "/" + std::to_string(number) + ".bmp"),
                          p.carved[static_cast<std::size_t>(k)]);
            }
            if (i == 8)
                want.insert(std::to_string(keptAt) + ".bmp");
            EXPECT_EQ(BmpFiles(dir), want) << dir;
        }
    }
}

TEST_F(ExtractCliTest, IconsCursorsAnd16BitProgramsAreWrittenAndWhatIsNotReadIsSaid) {
    const std::string icon = IconImage(4, 16, 16, 1);
    const std::string cursor = CursorImage(4, 6, IconImage(1, 32, 32, 2));
    const std::vector<ResourceItem> items = {
        Resource(kCursorType, 1, "", cursor),
        Resource(kBitmapType, 7, "", ResourceBitmap(8, 4, 4, 3)),
        Resource(kIconType, 1, "", icon),
        Resource(
            kCursorGroupType, 32512, "",
            GroupData({{32, 64, 0, 1, 1, static_cast<std::uint32_t>(cursor.size()), 1}}, true)),
        Resource(
            kIconGroupType, 0, "IDI_APP",
            GroupData({{16, 16, 16, 1, 4, static_cast<std::uint32_t>(icon.size()), 1}}, false)),
    };
    // Packed: the packer's sections, and a bitmap whose bytes it took away.
    ProgramImage packed = ComposeProgram(items, false);
    const std::size_t sections = 0x80 + 24 + 224;
    packed.bytes.replace(sections, 4, "UPX0");
    packed.bytes.replace(sections + 40, 4, "UPX1");
    PutU32(packed.bytes, packed.dataEntryAt[1], 0x00F00000u);
    std::string dos(600, '\0');
    dos.replace(0, 2, "MZ");
    PutU16(dos, 4, 1);
    PutU16(dos, 8, 4);
    struct Case {
        const char* what;
        std::string bytes;
        Files files;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"a 32-bit program",
         ComposeProgram(items, false).bytes,
         {"tool-7.bmp", "tool-IDI_APP.ico", "tool-32512.cur"},
         0,
         "1 bitmap, 1 icon and 1 cursor written from 1 file.\n"},
        {"a 16-bit program",
         ComposeNeProgram(items, 4).bytes,
         {"tool-7.bmp", "tool-IDI_APP.ico", "tool-32512.cur"},
         0,
         "1 bitmap, 1 icon and 1 cursor written from 1 file.\n"},
        {"a packed program",
         packed.bytes,
         {"tool-IDI_APP.ico", "tool-32512.cur"},
         0,
         "sporvik-extract: tool.exe is packed with UPX: the resources it compressed are not read\n"
         "1 icon and 1 cursor written from 1 file.\n"},
        {"a DOS program",
         dos,
         {},
         1,
         "sporvik-extract: tool.exe is a DOS program: it holds no Windows resources\n"
         "No bitmaps found.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(drives.Host("out"));
        drives.WriteFile("apps/tool.exe", c.bytes);
        EXPECT_EQ(Run({"--resources", "--json", "-o", Host("out"), Host("apps/tool.exe")}),
                  c.status);
        EXPECT_EQ(err, c.err);
        EXPECT_EQ(FileNamesIn(drives.Host("out")), c.files);
        const bool ne = std::string(c.what) == "a 16-bit program";
        if (c.files.count("tool-IDI_APP.ico")) {
            EXPECT_NE(out.find("\"file\":\"" + Host("out/tool-IDI_APP.ico") +
                               "\",\"width\":16,\"height\":16,\"bits\":4,\"kind\":\"ico\","
                               "\"type\":14,\"language\":" +
                               (ne ? "0,\"program\":\"NE\"" : "1033,\"program\":\"PE32\"") +
                               ",\"resource\":\"IDI_APP\"}"),
                      std::string::npos)
                << out;
        }
        if (c.files.count("tool-32512.cur")) {
            EXPECT_NE(
                out.find("\"width\":32,\"height\":32,\"bits\":1,\"kind\":\"cur\",\"type\":12"),
                std::string::npos)
                << out;
        }
    }
}

namespace {

// A program holding a small bitmap the window takes, one with a 108-byte
// header, one over the window's bound, a PNG file and one more small bitmap.
struct Carved {
    std::string bytes;
    std::vector<std::size_t> at;
};

Carved CarvedProgram() {
    Carved c;
    for (const std::string& part :
         {ValidBitmap(300, 1), SoundBitmap(108, 8, 5, 5, 2), SoundBitmap(40, 24, 60, 40, 1),
          PngFile(7, 3, 70, 1), ValidBitmap(200, 5)}) {
        c.bytes += std::string(41, 'x');
        c.at.push_back(c.bytes.size());
        c.bytes += part;
    }
    return c;
}

std::string Hex8(std::size_t n) {
    char s[16];
    std::snprintf(s, sizeof s, "%08zx", n);
    return s;
}

} // namespace

TEST_F(ExtractCliTest, CarvingOptionsTakeMoreNameBySourceAndWriteEachPictureOnce) {
    const Carved p = CarvedProgram();
    auto named = [&](const std::string& stem, std::initializer_list<std::size_t> parts,
                     const std::string& suffix = "") {
        Files f;
        for (const std::size_t i : parts)
            f.insert(stem + "-" + Hex8(p.at[i]) + suffix + (i == 3 ? ".png" : ".bmp"));
        return f;
    };
    Files twice = named("tool", {0, 1, 2, 3, 4});
    twice.merge(named("tool", {0, 1, 2, 3, 4}, "-2"));
    struct Case {
        const char* what;
        std::vector<std::string> options;
        Files out;
        std::string err;
    };
    // The numbered runs skip duplicates too, or the second file's pictures
    // would meet the first's names.
    const Case cases[] = {
        {"the window's rules",
         {"--skip-duplicates"},
         {"1.bmp"},
         "1 bitmap written from 2 files, 1 duplicate skipped.\n"},
        // The large bitmap ends the bitmaps, not the PNG files.
        {"PNG files",
         {"--png", "--skip-duplicates"},
         {"1.bmp", "2.png"},
         "1 bitmap and 1 PNG file written from 2 files, 2 duplicates skipped.\n"},
        {"everything",
         {"--any-size", "--every-header", "--png", "--skip-duplicates"},
         {"1.bmp", "2.bmp", "3.bmp", "4.png", "5.bmp"},
         "4 bitmaps and 1 PNG file written from 2 files, 5 duplicates skipped.\n"},
        {"named by source",
         {"--any-size", "--every-header", "--png", "--names", "source"},
         twice,
         "8 bitmaps and 2 PNG files written from 2 files.\n"},
        {"named by source, once",
         {"--any-size", "--every-header", "--png", "--names=source", "--skip-duplicates"},
         named("tool", {0, 1, 2, 3, 4}),
         "4 bitmaps and 1 PNG file written from 2 files, 5 duplicates skipped.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(drives.Host("out"));
        drives.WriteFile("a/tool.exe", p.bytes);
        drives.WriteFile("b/tool.exe", p.bytes);
        std::vector<std::string> args = c.options;
        args.insert(args.end(),
                    {"--json", "-o", Host("out"), Host("a/tool.exe"), Host("b/tool.exe")});
        EXPECT_EQ(Run(args), 0);
        EXPECT_EQ(err, c.err);
        Files files;
        for (const auto& e : fs::directory_iterator(drives.Host("out")))
            files.insert(e.path().filename().string());
        EXPECT_EQ(files, c.out);
    }
    // The PNG file is written whole, byte for byte, and each duplicate says
    // which file holds its bytes.
    EXPECT_EQ(Read("out/tool-" + Hex8(p.at[3]) + ".png"), PngFile(7, 3, 70, 1));
    EXPECT_NE(
        out.find("\"source\":\"" + Host("b/tool.exe") + "\",\"offset\":" + std::to_string(p.at[3]) +
                 ",\"size\":" + std::to_string(PngFile(7, 3, 70, 1).size()) + ",\"file\":\"" +
                 Host("out/tool-" + Hex8(p.at[3]) + ".png") +
                 "\",\"width\":7,\"height\":3,\"bits\":24,\"kind\":\"png\",\"duplicate\":true}"),
        std::string::npos)
        << out;
}

TEST_F(ExtractCliTest, FoldersAreWalkedWithoutFollowingLinksAndWhatCannotBeReadIsSaid) {
    const Carved p = CarvedProgram();
    drives.WriteFile("d/a.exe", p.bytes);
    drives.WriteFile("d/sub/b.DLL", p.bytes + "x");
    drives.WriteFile("d/notes.txt", p.bytes);
    drives.MakeDir("d/locked");
    drives.WriteFile("d/locked/c.exe", p.bytes);
    SetReadOnly(drives.Host("d/locked"));
    fs::permissions(drives.Host("d/locked"), fs::perms::owner_read, fs::perm_options::remove);
    fs::create_directory_symlink("..", drives.Host("d/sub/up"));
    fs::create_directory_symlink(drives.Host("a"), drives.Host("d/elsewhere"));
    drives.WriteFile("a/far.exe", p.bytes);
    fs::create_symlink("a.exe", drives.Host("d/again.exe"));
    fs::create_symlink("gone", drives.Host("d/gone.exe"));
    const std::string d = Host("d");
    EXPECT_EQ(
        Run({"-r", "--include", "*.exe,*.dll", "--png", "--names", "source", "-o", Host("out"), d}),
        2);
    fs::permissions(drives.Host("d/locked"), fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(err, "sporvik-extract: " + d +
                       "/elsewhere: a link not followed: it leads out of the folder\n"
                       "sporvik-extract: " +
                       d +
                       "/gone.exe: a link not followed: it leads nowhere\n"
                       "sporvik-extract: cannot read " +
                       d +
                       "/locked\nReason: I/O Error 5\n"
                       "File access denied\n"
                       "sporvik-extract: " +
                       d +
                       "/sub/up: a link not followed: it leads back to a "
                       "folder it lies in\n"
                       "2 bitmaps and 2 PNG files written from 2 files.\n");
    Files want = {"a-" + Hex8(p.at[0]) + ".bmp", "b-" + Hex8(p.at[0]) + ".bmp"};
    EXPECT_EQ(BmpFiles("out"), want);

    // Patterns pick files found in folders only; wrong options are told.
    const std::pair<std::vector<std::string>, std::string> wrong[] = {
        {{"--include", "*.exe", d}, "--include picks files in folders: it needs --recursive"},
        {{"-r", "--include", "*.exe,", d},
         "--include needs patterns separated by commas, such as *.exe,*.dll"},
        {{"--names", "path", d}, "--names needs number or source"},
    };
    for (const auto& [args, problem] : wrong) {
        EXPECT_EQ(Run(args), 2);
        EXPECT_EQ(err, "sporvik-extract: " + problem + "\nTry 'sporvik-extract --help'.\n");
    }
}
