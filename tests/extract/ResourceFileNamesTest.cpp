// The names of the files resources become: only names a file system takes,
// inside the output folder, and never one name for two files.
#include <gtest/gtest.h>

#include "extract/CarvedNames.h"
#include "extract/ResourceFileNames.h"

TEST(ResourceFileNames, NamesAreSafeAndNeverTwice) {
    const std::string long255 = std::string(250, 'L') + "TAIL!";
    const std::vector<ResourceFileName> resources = {
        {"IDI_APP", 1033, "ico"},
        {"IDI_APP", 1031, "ico"},
        {"IDI_APP", 1031, "ico"}, // the same language twice
        {"IDI_APP", 1033, "bmp"}, // another extension is another name
        {"idi_app", 1033, "ico"}, // the same name to a case-blind file system
        {"32512", 0, "cur"},
        {"..\\..\\up/and:out*?\"<>|", 0, "bmp"},
        {"tab\there\x7F", 0, "bmp"},
        {"gr\xFC\xDF \x81\x8D\x8F\x90\x9D", 0, "bmp"}, // bytes Windows-1252 leaves unused
        {long255, 0, "bmp"},
        {"", 0, "bmp"},
    };
    const std::vector<std::string> want = {
        "tool-IDI_APP.ico",
        "tool-IDI_APP-1031.ico",
        "tool-IDI_APP-1031-2.ico",
        "tool-IDI_APP.bmp",
        "tool-idi_app-1033.ico",
        "tool-32512.cur",
        "tool-.._.._up_and_out______.bmp",
        "tool-tab_here_.bmp",
        "tool-gr\xFC\xDF _____.bmp",
        "tool-" + std::string(64, 'L') + ".bmp",
        "tool-.bmp",
    };
    EXPECT_EQ(ResourceFileNames("tool.exe", resources), want);
    // The program's own extension goes, and only the last one.
    EXPECT_EQ(ResourceFileNames("my.tool.dll", {{"1", 0, "ico"}}),
              std::vector<std::string>{"my.tool-1.ico"});
    EXPECT_EQ(ResourceFileNames(".hidden", {{"1", 0, "ico"}}),
              std::vector<std::string>{".hidden-1.ico"});
}

TEST(CarvedNames, SayWhereAndNeverRepeatInARun) {
    EXPECT_EQ(SourceFileName("tool.exe", 0x1a2b4, "bmp"), "tool-0001a2b4.bmp");
    EXPECT_EQ(SourceFileName("a:b.dll", 0x123456789, "png"), "a_b-123456789.png");
    EXPECT_EQ(SourceFileName("README", 0, "bmp"), "README-00000000.bmp");
    TNameBook book;
    // tool.exe and Tool.dll in two folders: the names differ in case only,
    // which a Windows folder takes as one.
    const std::pair<std::string, std::string> claims[] = {
        {"tool-00000010.bmp", "tool-00000010.bmp"},
        {"Tool-00000010.bmp", "Tool-00000010-2.bmp"},
        {"tool-00000010.bmp", "tool-00000010-3.bmp"},
        {"tool-00000010-2.bmp", "tool-00000010-2-2.bmp"},
        {"tool-7.bmp", "tool-7.bmp"},
    };
    for (const auto& [wanted, given] : claims)
        EXPECT_EQ(book.Claim(wanted), given);
}
