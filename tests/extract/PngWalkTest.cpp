// The PNG walk: a whole file is measured to its end chunk; damage and a cut
// are told, and a chunk that claims gigabytes is refused without reading.
#include <gtest/gtest.h>

#include "CarvedPictures.h"
#include "extract/PngWalk.h"

namespace {

using testsupport::PngChunk;

std::string BigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF),
            static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}

// 7 x 3, with a text chunk between data and end.
std::string Png() {
    const std::string png = testsupport::PngFile(7, 3, 70);
    return png.substr(0, png.size() - 12) + PngChunk("tEXt", std::string("a\0b", 3)) +
           PngChunk("IEND", "");
}

PngExtent Walk(const std::string& file, std::int64_t at, std::int64_t* largestRead = nullptr) {
    const ReadAt read = [&](std::int64_t offset, unsigned char* buffer, std::int64_t n) {
        if (largestRead)
            *largestRead = std::max(*largestRead, n);
        const std::int64_t got = std::clamp<std::int64_t>(std::ssize(file) - offset, 0, n);
        std::copy_n(file.data() + offset, got, buffer);
        return got;
    };
    return WalkPng(read, at, std::ssize(file));
}

} // namespace

TEST(PngWalk, AWholeFileIsMeasuredAndDamageIsTold) {
    const std::string png = Png();
    const PngExtent whole = Walk("junk" + png + "more", 4);
    EXPECT_EQ(whole.verdict, PngVerdict::Whole);
    EXPECT_EQ(whole.size, std::ssize(png));
    EXPECT_EQ(whole.width, 7);
    EXPECT_EQ(whole.height, 3);
    EXPECT_EQ(whole.bitCount, 24);

    const std::size_t idatData = 8 + 25 + 8;
    struct Case {
        const char* what;
        std::string file;
        PngVerdict verdict;
        std::string problem;
    };
    std::string flipped = png;
    flipped[idatData + 10] ^= 1;
    std::string noType = png;
    noType[8 + 25 + 4] = '1';
    const std::string noHeader =
        std::string(PngSignature) + PngChunk("IDAT", "x") + PngChunk("IEND", "");
    const Case cases[] = {
        {"a byte changed", flipped, PngVerdict::Broken, "its IDAT chunk fails its checksum"},
        {"a chunk without a type", noType, PngVerdict::Broken, "a chunk has no type"},
        {"no header chunk first", noHeader, PngVerdict::Broken,
         "it does not begin with its header chunk"},
        {"cut inside a chunk", png.substr(0, idatData + 20), PngVerdict::Cut,
         "the file ends inside its IDAT chunk"},
        {"cut before its end chunk", png.substr(0, png.size() - 12), PngVerdict::Cut,
         "the file ends inside it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PngExtent e = Walk(c.file, 0);
        EXPECT_EQ(e.verdict, c.verdict);
        EXPECT_EQ(e.problem, c.problem);
    }
}

TEST(PngWalk, ChunkLengthsPastTheFileOrPast31BitsAreRefusedUnread) {
    for (const std::uint32_t length : {0x80000000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(length);
        std::string png = Png();
        png.replace(8 + 25, 4, BigEndian(length));
        std::int64_t largestRead = 0;
        const PngExtent e = Walk(png, 0, &largestRead);
        EXPECT_NE(e.verdict, PngVerdict::Whole);
        EXPECT_LE(largestRead, 13); // the header chunk, and of the bad one its frame
    }
    // A long chunk is read in pieces, never whole.
    const std::string header = BigEndian(1) + BigEndian(1) + std::string("\x08\0\0\0\0", 5);
    const std::string big = std::string(PngSignature) + PngChunk("IHDR", header) +
                            PngChunk("IDAT", std::string(1 << 20, 'z')) + PngChunk("IEND", "");
    std::int64_t largestRead = 0;
    EXPECT_EQ(Walk(big, 0, &largestRead).size, std::ssize(big));
    EXPECT_LE(largestRead, 64 * 1024);
}
