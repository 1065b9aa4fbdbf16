// The header rule of the carving scan: a sound bitmap of each header size is
// taken, and every near miss (one rule broken, the rest sound) is not.
#include <functional>
#include <gtest/gtest.h>

#include "CarvedPictures.h"
#include "extract/BitmapHeaderRule.h"

namespace {

using testsupport::PutLe16;
using testsupport::PutLe32;

std::string Bitmap(std::uint32_t headerSize, std::uint32_t bits = 8, std::uint32_t width = 10,
                   std::uint32_t height = 6) {
    return testsupport::SoundBitmap(headerSize, bits, width, height);
}

HeaderVerdict Judge(const std::string& s, const CarveRules& rules, std::int64_t extra = 0) {
    const auto* at = reinterpret_cast<const unsigned char*>(s.data());
    return JudgeBitmapHeaders(at, std::min(s.size(), BitmapHeadersRead), std::ssize(s) + extra,
                              rules);
}

constexpr CarveRules kAll{true, true, false};

} // namespace

TEST(BitmapHeaderRule, EveryHeaderSizeIsTakenAndOnlyWhenAsked) {
    for (const std::uint32_t size : {12u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(Judge(Bitmap(size), kAll), HeaderVerdict::Bitmap);
        EXPECT_EQ(Judge(Bitmap(size, 24), kAll), HeaderVerdict::Bitmap);
        EXPECT_EQ(Judge(Bitmap(size), CarveRules{true, false, false}),
                  size == 40 ? HeaderVerdict::Bitmap : HeaderVerdict::NotABitmap);
    }
    // Over the window's bound only with --any-size.
    std::string big = Bitmap(40, 24);
    big.resize(6000, '\0');
    PutLe32(big, 2, 6000);
    EXPECT_EQ(Judge(big, kAll), HeaderVerdict::Bitmap);
    EXPECT_EQ(Judge(big, CarveRules{false, true, false}), HeaderVerdict::NotABitmap);
    // Whole, or told as reaching past the end.
    EXPECT_EQ(Judge(big, kAll, -1), HeaderVerdict::RunsPastEnd);
}

TEST(BitmapHeaderRule, EachRuleBrokenAloneIsNoBitmap) {
    using Spoil = std::function<void(std::string&)>;
    const std::pair<const char*, Spoil> cases[] = {
        {"reserved word", [](std::string& s) { PutLe16(s, 6, 1); }},
        {"second reserved word", [](std::string& s) { PutLe16(s, 8, 1); }},
        {"header size unknown", [](std::string& s) { PutLe32(s, 14, 41); }},
        {"two planes", [](std::string& s) { PutLe16(s, 26, 2); }},
        {"depth 7", [](std::string& s) { PutLe16(s, 28, 7); }},
        {"depth 0", [](std::string& s) { PutLe16(s, 28, 0); }},
        {"compression 9", [](std::string& s) { PutLe32(s, 30, 9); }},
        {"runs of 4 bits at depth 8", [](std::string& s) { PutLe32(s, 30, 2); }},
        {"colour masks at depth 8", [](std::string& s) { PutLe32(s, 30, 3); }},
        {"width 0", [](std::string& s) { PutLe32(s, 18, 0); }},
        {"width negative", [](std::string& s) { PutLe32(s, 18, 0xFFFFFFF6u); }},
        {"height 0", [](std::string& s) { PutLe32(s, 22, 0); }},
        {"more colours than the depth has", [](std::string& s) { PutLe32(s, 46, 257); }},
        {"pixels before the headers' end", [](std::string& s) { PutLe32(s, 10, 53); }},
        {"pixels after the declared end",
         [](std::string& s) { PutLe32(s, 10, static_cast<std::uint32_t>(s.size()) + 1); }},
        {"declared size short of the pixels",
         [](std::string& s) { PutLe32(s, 2, static_cast<std::uint32_t>(s.size()) - 1); }},
        {"declared size past 2 GiB", [](std::string& s) { PutLe32(s, 2, 0x80000000u); }},
        {"top down with runs",
         [](std::string& s) {
             PutLe32(s, 30, 1);
             PutLe32(s, 22, 0xFFFFFFFAu);
         }},
        {"runs longer than the file says",
         [](std::string& s) {
             PutLe32(s, 30, 1);
             PutLe32(s, 34, static_cast<std::uint32_t>(s.size()));
         }},
        {"not BM", [](std::string& s) { s[1] = 'A'; }},
    };
    const std::string sound = Bitmap(40);
    ASSERT_EQ(Judge(sound, kAll), HeaderVerdict::Bitmap);
    for (const auto& [what, spoil] : cases) {
        SCOPED_TRACE(what);
        std::string s = sound;
        spoil(s);
        EXPECT_EQ(Judge(s, kAll), HeaderVerdict::NotABitmap);
    }
    // Sides past 32768, though the pixels would fit.
    EXPECT_EQ(Judge(Bitmap(40, 1, 32768, 1), kAll), HeaderVerdict::Bitmap);
    EXPECT_EQ(Judge(Bitmap(40, 1, 32769, 1), kAll), HeaderVerdict::NotABitmap);
    EXPECT_EQ(Judge(Bitmap(40, 1, 1, 32769), kAll), HeaderVerdict::NotABitmap);
    // The 12-byte header: 16-bit sides, no 16- or 32-bit depths.
    std::string core = Bitmap(12);
    PutLe16(core, 24, 16);
    EXPECT_EQ(Judge(core, kAll), HeaderVerdict::NotABitmap);
    // Colour masks, but the 64-byte header's compression 3 is Huffman.
    std::string masks = Bitmap(108, 32);
    PutLe32(masks, 30, 3);
    EXPECT_EQ(Judge(masks, kAll), HeaderVerdict::Bitmap);
    std::string os2 = Bitmap(64, 32);
    PutLe32(os2, 30, 3);
    EXPECT_EQ(Judge(os2, kAll), HeaderVerdict::NotABitmap);
}
