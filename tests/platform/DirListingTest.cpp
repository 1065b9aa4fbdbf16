// A listing answers a look-up ignoring case as comparing every name would,
// whether it is still in the host's order (found by hash) or in listing order
// (found by halving), and a listing changed by names added and removed is in
// the order a listing read afresh would be.
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <unistd.h>

#include "TempDrives.h"
#include "platform/Codepage.h"
#include "platform/DirListing.h"
#include "platform/HostNames.h"

using namespace platform;

namespace {

using HostNames = std::vector<std::string>;

std::shared_ptr<DirListing> ReadDir(const std::filesystem::path& dir) {
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    auto listing = DirListing::Read(fd);
    close(fd);
    return listing;
}

std::set<std::string> Found(const DirListing& listing, std::string_view name) {
    std::set<std::string> found;
    for (const std::size_t i : listing.EqualIgnoringCase(name))
        found.insert(std::string(listing.HostName(i)));
    return found;
}

std::set<std::string> EveryEqual(const DirListing& listing, std::string_view name) {
    std::set<std::string> equal;
    for (std::size_t i = 0; i < listing.Count(); ++i)
        if (EqualIgnoringCase(listing.Name(i), name))
            equal.insert(std::string(listing.HostName(i)));
    return equal;
}

HostNames InOrder(const DirListing& listing) {
    HostNames names;
    for (std::size_t i = 0; i < listing.Count(); ++i)
        names.emplace_back(listing.HostName(i));
    return names;
}

} // namespace

TEST(DirListing, LooksUpAndChangesAsAFreshListingWould) {
    // Case variants the host tells apart, accented letters, letters and a
    // symbol without a Windows-1252 form, and enough names that the hash
    // table's probes run into each other.
    HostNames onDisk = {"b.BMP",
                        "B.bmp",
                        "b.bmp",
                        "Toolbar.bmp",
                        "TOOLBAR.BMP",
                        "\xc3\xa9t\xc3\xa9.bmp",
                        "\xc3\x89T\xc3\x89.BMP",
                        "\xd0\x96.bmp",
                        "\xd0\xb6.bmp",
                        "\xf0\x9f\x98\x80.bmp",
                        "12.bmp"};
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, i % 2 ? "g%03d.bmp" : "G%03d.BMP", i / 2);
        onDisk.push_back(name);
    }
    testsupport::TempDrives drives;
    for (const std::string& name : onDisk)
        drives.WriteFile("all/" + name, "");

    std::vector<std::string> asked = {"B.BMP",    "toolbar.BMP", "\xc9T\xc9.bmp", "13.bmp",
                                      "G042.bmp", "g149.BMP",    "g150.bmp",      ""};
    for (const std::string& name : onDisk)
        asked.push_back(WindowsName(name));

    auto listing = ReadDir(drives.Host("all"));
    ASSERT_TRUE(listing);
    for (const bool ordered : {false, true}) {
        if (ordered)
            listing->PutInOrder();
        for (const std::string& name : asked)
            EXPECT_EQ(Found(*listing, name), EveryEqual(*listing, name))
                << name << (ordered ? " in order" : " by hash");
    }

    // Names added to and removed from either kind of listing give the
    // order of a listing of what is then there.
    const struct {
        HostNames added;
        std::set<std::string> removed;
    } changes[] = {
        {{"B.bmp", "\xd0\x96.bmp", "g000.bmp", "zzz.bmp"}, {}},
        {{"b.BMP"}, {"b.bmp", "G010.BMP", "\xf0\x9f\x98\x80.bmp"}},
        {{}, {"Toolbar.bmp"}},
    };
    for (const auto& c : changes)
        for (const bool ordered : {false, true}) {
            std::set<std::string> kept(onDisk.begin(), onDisk.end());
            for (const std::string& name : c.added)
                kept.erase(name);
            drives.MakeDir("some");
            std::filesystem::remove_all(drives.Host("some"));
            for (const std::string& name : kept)
                drives.WriteFile("some/" + name, "");
            auto before = ReadDir(drives.Host("some"));
            if (ordered)
                before->PutInOrder();
            std::vector<std::string_view> added(c.added.begin(), c.added.end());
            std::unordered_set<std::string> removed(c.removed.begin(), c.removed.end());
            for (const std::string& name : c.added)
                kept.insert(name);
            for (const std::string& name : c.removed)
                kept.erase(name);
            std::vector<std::string_view> all(kept.begin(), kept.end());
            EXPECT_EQ(InOrder(*before->Changed(added, removed)), InOrder(*DirListing::Of(all)))
                << (ordered ? "in order" : "by hash") << ", " << c.added.size() << " added";
        }
}
