// Loading glyph bitmaps from files: what comes back, and what a file that is
// no bitmap, or cannot be read, raises.
#include <QBuffer>
#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>

#include "TempDrives.h"
#include "platform/Paths.h"
#include "platform/ui/GlyphBitmap.h"

using platform::EFailure;
using platform::LoadBitmapFromFile;
using testsupport::TempDrives;

namespace {

std::string Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

// A 32 x 16 picture: a cyan ground with a red pixel at (20, 3).
QImage Picture() {
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(qRgb(0, 255, 255));
    image.setPixel(20, 3, qRgb(255, 0, 0));
    return image;
}

// The failure's text, or "no failure".
std::string FailureOf(const std::string& winPath) {
    try {
        LoadBitmapFromFile(winPath);
    } catch (const EFailure& e) {
        return e.what();
    }
    return "no failure";
}

TEST(GlyphBitmap, LoadsTheBitmapOfABmpFile) {
    TempDrives drives;
    drives.WriteFile("glyphs/arrow.bmp", Encode(Picture(), "BMP"));
    // Found as Windows finds it, ignoring case.
    const QImage image = LoadBitmapFromFile("C:\\GLYPHS\\Arrow.BMP");
    ASSERT_EQ(image.size(), QSize(32, 16));
    EXPECT_EQ(image.pixel(20, 3), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(0, 15), qRgb(0, 255, 255));

    // A 256-colour bitmap: its bottom-left colour still comes out clear.
    drives.WriteFile("glyphs/indexed.bmp",
                     Encode(Picture().convertToFormat(QImage::Format_Indexed8), "BMP"));
    const QImage indexed = LoadBitmapFromFile("C:\\glyphs\\indexed.bmp");
    const QImage first = platform::GlyphImage(indexed, 2, 1);
    ASSERT_EQ(first.size(), QSize(16, 16));
    EXPECT_EQ(first.pixel(4, 3), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(first.pixel(5, 3)), 0);
}

TEST(GlyphBitmap, AZeroLengthFileIsAnEmptyPicture) {
    TempDrives drives;
    drives.WriteFile("glyphs/empty.bmp", "");
    EXPECT_TRUE(LoadBitmapFromFile("C:\\glyphs\\empty.bmp").isNull());
}

TEST(GlyphBitmap, BadFilesRaiseAClearFailure) {
    TempDrives drives;
    const std::string valid = Encode(Picture(), "BMP");
    drives.WriteFile("glyphs/text.bmp", "This is not a bitmap.");
    drives.WriteFile("glyphs/png.bmp", Encode(Picture(), "PNG"));
    drives.WriteFile("glyphs/header.bmp", valid.substr(0, 54));
    drives.WriteFile("glyphs/bm.bmp", "BM");
    drives.MakeDir("glyphs/old.bmp");
    const auto locked = drives.WriteFile("glyphs/locked.bmp", valid);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::remove);
    ASSERT_EQ(platform::SetCurrentDir("C:\\glyphs"), 0);

    const std::pair<const char*, const char*> cases[] = {
        {"C:\\glyphs\\text.bmp", "Bitmap image is not valid"},
        {"C:\\glyphs\\png.bmp", "Bitmap image is not valid"},
        {"C:\\glyphs\\header.bmp", "Bitmap image is not valid"},
        {"C:\\glyphs\\bm.bmp", "Bitmap image is not valid"},
        {"C:\\glyphs\\missing.bmp", "Cannot open file \"C:\\glyphs\\missing.bmp\""},
        {"C:\\glyphs\\old.bmp", "Cannot open file \"C:\\glyphs\\old.bmp\""},
        {"C:\\glyphs\\locked.bmp", "Cannot open file \"C:\\glyphs\\locked.bmp\""},
        {"C:\\nowhere\\a.bmp", "Cannot open file \"C:\\nowhere\\a.bmp\""},
        // The text names the full path, also when the name was relative.
        {"missing.bmp", "Cannot open file \"C:\\glyphs\\missing.bmp\""},
    };
    for (const auto& [path, text] : cases)
        EXPECT_EQ(FailureOf(path), text) << path;
}

} // namespace
