// A folder's listing, kept once it was read to look a name up, follows every
// change made to the folder since: the program's own, which update it, and
// those made behind its back, after which it is read again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "TempDrives.h"
#include "platform/FileObject.h"
#include "platform/FileOps.h"
#include "platform/Find.h"
#include "platform/Paths.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

Names Listed(const std::string& pattern) {
    Names names;
    TSearchRec rec;
    for (int r = FindFirst(pattern, faAnyFile, rec); r == 0; r = FindNext(rec))
        names.push_back(rec.Name);
    FindClose(rec);
    return names;
}

// The host name a Windows name in C:\g leads to.
std::string LeadsTo(const std::string& name) {
    std::string host;
    EXPECT_EQ(ToHostPath("C:\\g\\" + name, host), 0) << name;
    return fs::path(host).filename().string();
}

void CreateNew(const std::string& path) {
    FileObject f(path);
    f.CreateNew(1);
    f.Close();
}

} // namespace

TEST(KeptListing, EveryChangeToAFolderIsSeenByTheNextLookUp) {
    testsupport::TempDrives drives;
    drives.WriteFile("g/Alpha.bmp", "a");
    const auto host = [&drives](const char* name) { return drives.Host(std::string("g/") + name); };
    const struct {
        const char* change;
        std::function<void()> make;
        const char* asked;
        const char* leadsTo; // the spelling asked for when nothing matches
        Names listed;
    } steps[] = {
        {"created here",
         [] { CreateNew("C:\\g\\Beta.bmp"); },
         "BETA.BMP",
         "Beta.bmp",
         {"Alpha.bmp", "Beta.bmp"}},
        {"created elsewhere",
         [&] { std::ofstream(host("gamma.bmp")) << "c"; },
         "GAMMA.bmp",
         "gamma.bmp",
         {"Alpha.bmp", "Beta.bmp", "gamma.bmp"}},
        {"renamed here",
         [] { EXPECT_EQ(RenameFile("C:\\g\\beta.bmp", "C:\\g\\delta.bmp"), 0); },
         "BETA.bmp",
         "BETA.bmp",
         {"Alpha.bmp", "delta.bmp", "gamma.bmp"}},
        {"deleted elsewhere",
         [&] { fs::remove(host("Alpha.bmp")); },
         "alpha.bmp",
         "alpha.bmp",
         {"delta.bmp", "gamma.bmp"}},
        {"deleted here",
         [] { EXPECT_EQ(DeleteFile("C:\\g\\GAMMA.BMP"), 0); },
         "gamma.BMP",
         "gamma.BMP",
         {"delta.bmp"}},
        // Of two names equal ignoring case, the one listed first is meant.
        {"another case elsewhere",
         [&] { std::ofstream(host("DELTA.bmp")) << "d"; },
         "Delta.BMP",
         "DELTA.bmp",
         {"DELTA.bmp", "delta.bmp"}},
        {"renamed elsewhere",
         [&] { fs::rename(host("DELTA.bmp"), host("eps.bmp")); },
         "Delta.BMP",
         "delta.bmp",
         {"delta.bmp", "eps.bmp"}},
        {"folder replaced elsewhere",
         [&] {
             fs::rename(drives.Host("g"), drives.Host("old"));
             drives.WriteFile("g/Zeta.bmp", "z");
         },
         "DELTA.BMP",
         "DELTA.BMP",
         {"Zeta.bmp"}},
    };
    for (const auto& step : steps) {
        // The listing is kept from a look-up that had to read the folder.
        EXPECT_EQ(LeadsTo("NOTHERE.BMP"), "NOTHERE.BMP");
        step.make();
        EXPECT_EQ(LeadsTo(step.asked), step.leadsTo) << step.change;
        EXPECT_EQ(Listed("C:\\g\\*.bmp"), step.listed) << step.change;
    }
}
