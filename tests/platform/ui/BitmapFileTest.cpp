// Bitmap files whose headers do not match their data: cut short at any
// point, or declaring sizes no sound file has. Each gives the standard
// failure, and nothing shown is memory that was not read from the file.
#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "FailureText.h"
#include "TempDrives.h"
#include "platform/ui/BmpCheck.h"
#include "platform/ui/GlyphBitmap.h"

using platform::EFailure;
using platform::LoadBitmapFromFile;
using testsupport::TempDrives;

namespace {

void PutU16(std::string& b, unsigned v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string& b, unsigned v) {
    PutU16(b, v & 0xFFFF);
    PutU16(b, v >> 16);
}

struct Header {
    int width = 8, height = 4, bits = 8, compression = 0;
    unsigned colours = 0, planes = 1, headerSize = 40;
    int offsetShift = 0; // moves the declared pixel offset
};

// A bitmap file: headers, `palette` entries (blue, green, red, 0) and data.
std::string Bmp(const Header& h, const std::vector<unsigned>& palette, const std::string& data) {
    std::string info;
    PutU32(info, h.headerSize);
    PutU32(info, static_cast<unsigned>(h.width));
    PutU32(info, static_cast<unsigned>(h.height));
    PutU16(info, h.planes);
    PutU16(info, static_cast<unsigned>(h.bits));
    PutU32(info, static_cast<unsigned>(h.compression));
    PutU32(info, static_cast<unsigned>(data.size()));
    PutU32(info, 2835);
    PutU32(info, 2835);
    PutU32(info, h.colours);
    PutU32(info, 0);
    info.resize(h.headerSize, '\0');
    for (unsigned rgb : palette)
        PutU32(info, rgb & 0xFFFFFF);
    std::string file = "BM";
    PutU32(file, static_cast<unsigned>(14 + info.size() + data.size()));
    PutU32(file, 0);
    PutU32(file, static_cast<unsigned>(14 + static_cast<int>(info.size()) + h.offsetShift));
    return file + info + data;
}

// Rows of a plain bitmap: row y holds bytes f(x, y), padded to 4 bytes.
std::string Rows(int rowBytes, int height, int (*f)(int, int)) {
    std::string data;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < rowBytes; ++x)
            data += static_cast<char>(f(x, y));
        data.append((4 - rowBytes % 4) % 4, '\0');
    }
    return data;
}

int Pattern(int x, int y) {
    return (x * 37 + y * 11 + 5) & 0xFF;
}

const std::vector<unsigned> kFour = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

struct Sample {
    const char* name;
    std::string file;
};

// One small, sound bitmap of each common depth and compression.
std::vector<Sample> Samples() {
    std::vector<unsigned> sixteen(16), two = {0x000000, 0xFFFFFF};
    for (unsigned i = 0; i < 16; ++i)
        sixteen[i] = i * 0x111111;
    // RLE8: a run, an absolute stretch (odd, so padded), end of line, a
    // delta, a run, end of bitmap.
    const std::string rle8("\x03\x01\x00\x03\x02\x03\x01\x00\x00\x00\x00\x02\x02\x01\x04\x02"
                           "\x00\x01",
                           18);
    // RLE4: the same shapes, two pixels a byte.
    const std::string rle4("\x04\x12\x00\x03\x34\x50\x00\x00\x03\x21\x00\x01", 12);
    Header one{.width = 12, .height = 3, .bits = 1};
    Header four{.width = 6, .height = 3, .bits = 4};
    Header eight{.width = 5, .height = 3, .bits = 8, .colours = 4};
    Header rgb{.width = 3, .height = 3, .bits = 24};
    Header argb{.width = 3, .height = 2, .bits = 32};
    Header r8{.width = 8, .height = 3, .bits = 8, .compression = 1, .colours = 4};
    Header r4{.width = 8, .height = 2, .bits = 4, .compression = 2};
    return {
        {"1 bit", Bmp(one, two, Rows(2, 3, Pattern))},
        {"4 bits", Bmp(four, sixteen, Rows(3, 3, Pattern))},
        {"8 bits", Bmp(eight, kFour, Rows(5, 3, [](int x, int y) { return (x + y) % 4; }))},
        {"24 bits", Bmp(rgb, {}, Rows(9, 3, Pattern))},
        {"32 bits", Bmp(argb, {}, Rows(12, 2, Pattern))},
        {"RLE8", Bmp(r8, kFour, rle8)},
        {"RLE4", Bmp(r4, sixteen, rle4)},
    };
}

class BitmapFile : public ::testing::Test {
protected:
    std::string FailureOf(const std::string& bytes) {
        drives_.WriteFile("g.bmp", bytes);
        return testsupport::FailureText([] { LoadBitmapFromFile("C:\\g.bmp"); });
    }
    QImage Load(const std::string& bytes) {
        drives_.WriteFile("g.bmp", bytes);
        return LoadBitmapFromFile("C:\\g.bmp");
    }
    TempDrives drives_;
};

TEST_F(BitmapFile, EverySoundSampleLoadsAndEveryCutOfItIsRefused) {
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.name);
        ASSERT_FALSE(Load(s.file).isNull());
        // A cut at 0 is an empty file, which is an empty picture.
        for (std::size_t cut = 1; cut < s.file.size(); ++cut)
            ASSERT_EQ(FailureOf(s.file.substr(0, cut)), "Bitmap image is not valid")
                << "cut at " << cut << " of " << s.file.size();
    }
}

TEST_F(BitmapFile, RunLengthPixelsAreTheRunsAndWhatTheySkipIsColourZero) {
    const std::vector<Sample> samples = Samples();
    const QImage rle8 = Load(samples[5].file);
    ASSERT_EQ(rle8.size(), QSize(8, 3));
    // Bottom row (the image's last): 3 x colour 1, then 2, 3, 1 given one by one.
    const std::vector<QRgb> bottom = {0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(rle8.pixel(x, 2) & 0xFFFFFF, bottom[x]) << x;
    // The rest of the bottom row, the middle row and the skipped pixels of
    // the top row are colour 0; after the delta, a run of 4 x colour 2.
    for (int x = 6; x < 8; ++x)
        EXPECT_EQ(rle8.pixel(x, 2) & 0xFFFFFF, 0u) << x;
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(rle8.pixel(x, 1) & 0xFFFFFF, 0u) << x;
    EXPECT_EQ(rle8.pixel(1, 0) & 0xFFFFFF, 0u);
    for (int x = 2; x < 6; ++x)
        EXPECT_EQ(rle8.pixel(x, 0) & 0xFFFFFF, 0x00FF00u) << x;
    EXPECT_EQ(rle8.pixel(6, 0) & 0xFFFFFF, 0u);

    const QImage rle4 = Load(samples[6].file);
    ASSERT_EQ(rle4.size(), QSize(8, 2));
    const std::vector<int> greys = {1, 2, 1, 2, 3, 4, 5, 0};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(rle4.pixel(x, 1) & 0xFFFFFF, greys[x] * 0x111111u) << x;
    const std::vector<int> top = {2, 1, 2, 0, 0, 0, 0, 0};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(rle4.pixel(x, 0) & 0xFFFFFF, top[x] * 0x111111u) << x;
}

TEST_F(BitmapFile, InconsistentHeadersAreRefused) {
    const std::string data = Rows(8, 4, Pattern);
    struct Case {
        const char* what;
        Header header;
        std::vector<unsigned> palette;
        std::string data;
    };
    const std::vector<Case> cases = {
        {"zero width", {.width = 0, .colours = 4}, kFour, data},
        {"negative width", {.width = -8, .colours = 4}, kFour, data},
        {"zero height", {.height = 0, .colours = 4}, kFour, data},
        {"top-down runs",
         {.height = -4, .compression = 1, .colours = 4},
         kFour,
         std::string("\0\1", 2)},
        {"absurd size", {.width = 100000, .height = 100000, .colours = 4}, kFour, data},
        {"past the glyph limit",
         {.width = 1024, .height = 257, .bits = 1},
         {0, 0xFFFFFF},
         std::string(128 * 257, '\0')},
        {"negative past the limit",
         {.width = 1024, .height = -257, .bits = 1},
         {0, 0xFFFFFF},
         std::string(128 * 257, '\0')},
        {"no planes", {.colours = 4, .planes = 0}, kFour, data},
        {"unknown depth", {.bits = 7, .colours = 4}, kFour, data},
        {"unknown compression", {.compression = 4, .colours = 4}, kFour, data},
        {"runs of the wrong depth", {.bits = 24, .compression = 1}, {}, data},
        {"more colours than the depth has", {.bits = 1, .colours = 3}, kFour, data},
        {"palette past the end", {.colours = 200}, kFour, ""},
        {"pixels before the palette ends", {.colours = 4, .offsetShift = -4}, kFour, data},
        {"pixel offset past the end", {.colours = 4, .offsetShift = 1000}, kFour, data},
        {"unknown header size", {.colours = 4, .headerSize = 44}, kFour, data},
        {"a run past the end of its row",
         {.width = 4, .height = 1, .compression = 1, .colours = 4},
         kFour,
         std::string("\5\1\0\1", 4)},
        {"a channel mask with a gap",
         {.width = 4, .bits = 16, .compression = 3},
         {0x7C00, 0x03E0, 0x0015},
         data},
        {"a mask wider than the pixel",
         {.width = 4, .bits = 16, .compression = 3},
         {0x1F0000, 0x03E0, 0x001F},
         data},
        {"OS/2 header with its own coding 3",
         {.width = 4, .bits = 16, .compression = 3, .headerSize = 64},
         {0x7C00, 0x03E0, 0x001F},
         data},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FailureOf(Bmp(c.header, c.palette, c.data)), "Bitmap image is not valid")
            << c.what;
    // The largest glyph allowed still loads, drawn from the top row down.
    Header limit{.width = 512, .height = -512, .bits = 1};
    const QImage image =
        Load(Bmp(limit, {0, 0xFFFFFF}, std::string(64, '\xFF') + std::string(64 * 511, '\0')));
    ASSERT_EQ(image.size(), QSize(512, 512));
    EXPECT_EQ(image.pixel(3, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(3, 1) & 0xFFFFFF, 0u);
}

} // namespace
