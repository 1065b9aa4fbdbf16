// Program files whose resources cannot all be read are told apart from
// those that simply hold none, and each gets the reason it deserves.
#include <functional>
#include <gtest/gtest.h>

#include "ProgramImage.h"
#include "TempDrives.h"
#include "extract/UnreadResources.h"

using namespace testsupport;

namespace {

constexpr std::size_t kPeAt = 0x80;
constexpr std::size_t kSections = kPeAt + 24 + 224; // of a 32-bit program
constexpr std::size_t kDirectories = kPeAt + 24 + 96;

std::string Dos(std::uint16_t pages, std::uint16_t lastPage, std::uint32_t newHeaderAt) {
    std::string s(1024, '\x90');
    s.replace(0, 64, std::string(64, '\0'));
    s[0] = 'M';
    s[1] = 'Z';
    PutU16(s, 2, lastPage);
    PutU16(s, 4, pages);
    PutU16(s, 8, 4);
    PutU32(s, 60, newHeaderAt);
    return s;
}

std::string Changed(std::string s, std::size_t at, const std::string& bytes) {
    s.replace(at, bytes.size(), bytes);
    return s;
}

} // namespace

TEST(UnreadResources, EachKindOfProgramThatHidesItsResourcesIsNamed) {
    const std::string pe = ComposeProgram({}, false).bytes;
    const std::string upx = "packed with UPX: the resources it compressed are not read";
    auto installer = [](const char* maker) {
        return std::string("an installer (") + maker +
               ") with a compressed payload: the files inside it are not read";
    };
    std::string dotNet = pe;
    PutU32(dotNet, kDirectories + 14 * 8, 0x2008);
    PutU32(dotNet, kDirectories + 14 * 8 + 4, 72);
    std::string os2 = ComposeNeProgram({}, 4).bytes;
    os2[0x80 + 0x36] = 1;
    struct Case {
        const char* what;
        std::string bytes;
        std::string reason;
        bool packed = false;
    };
    const Case cases[] = {
        {"UPX's sections",
         Changed(Changed(pe, kSections, std::string("UPX0\0\0\0\0", 8)), kSections + 40,
                 std::string("UPX1\0\0\0\0", 8)),
         upx, true},
        {"UPX's signature", Changed(pe, 0x3E0, "UPX!"), upx, true},
        {"NSIS", pe + std::string("\0\0\0\0\xEF\xBE\xAD\xDE", 8) + "NullsoftInst",
         installer("NSIS")},
        {"Inno Setup", pe + std::string(300, 'x') + "Inno Setup Setup Data (5.5.7)",
         installer("Inno Setup")},
        {"7-Zip", pe + std::string("7z\xBC\xAF\x27\x1C\0\x04", 8), installer("7-Zip")},
        // A signature inside the sections is only data of the program.
        {"NSIS's signature inside a section", Changed(pe, 0x300, "NullsoftInst"), ""},
        {".NET", dotNet, "a .NET assembly: its managed resources are not walked"},
        {"LE", Changed(Dos(2, 0, 0x80), 0x80, "LE\0\0"),
         "an LE program (a Windows device driver): its resources are not read"},
        {"LX", Changed(Dos(2, 0, 0x80), 0x80, "LX\0\0"),
         "an LX program (OS/2): its resources are not read"},
        {"OS/2 NE", os2, "a 16-bit OS/2 program: its resources are not read"},
        {"DOS", Dos(2, 0x10, 0), "a DOS program: it holds no Windows resources"},
        {"DOS pointing past its end", Dos(1, 0, 0xFFFFFFF0u),
         "a DOS program: it holds no Windows resources"},
        // Not programs at all, or ones whose resources are all there.
        {"a Windows program", pe, ""},
        {"a 16-bit Windows program", ComposeNeProgram({}, 4).bytes, ""},
        {"no pages", Dos(0, 0, 0), ""},
        {"a DOS program larger than its file", Dos(40, 0, 0), ""},
        {"text", std::string(2000, 'M'), ""},
        {"nothing", "", ""},
    };
    TempDrives drives;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drives.WriteFile("tool.exe", c.bytes);
        platform::FileObject file{"C:\\tool.exe"};
        file.Reset(platform::FileAccess::ReadOnly, 1);
        const UnreadResources unread = ResourcesNotRead(file);
        EXPECT_EQ(unread.reason, c.reason);
        EXPECT_EQ(unread.packed, c.packed);
    }
}
