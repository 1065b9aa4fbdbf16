// Loading glyph bitmaps from files: what comes back, and what a file that is
// no bitmap, or cannot be read, raises.
#include <QBuffer>
#include <QImage>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "FailureText.h"
#include "TempDrives.h"
#include "platform/Paths.h"
#include "platform/ui/GlyphBitmap.h"
#include "platform/ui/SpeedButton.h"

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
    return testsupport::FailureText([&] { LoadBitmapFromFile(winPath); });
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

// A 16 x 16 glyph of 32-bit pixels (0xAARRGGBB) in a .bmp file: without
// masks, or with the masks and an alpha mask in a 124-byte header.
std::string Bmp32(const std::vector<QRgb>& pixels, bool withMasks) {
    const std::uint32_t header = withMasks ? 124 : 40, offset = 14 + header;
    std::string file(offset, '\0');
    const auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file[at + i] = static_cast<char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, offset + 16 * 16 * 4, 4);
    put(10, offset, 4);
    put(14, header, 4);
    put(18, 16, 4);
    put(22, 16, 4);
    put(26, 1, 2);
    put(28, 32, 2);
    if (withMasks) {
        put(30, 3, 4); // bit fields
        const std::uint32_t masks[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
        for (int i = 0; i < 4; ++i)
            put(54 + 4 * i, masks[i], 4);
    }
    for (int y = 15; y >= 0; --y) // bottom row first
        for (int x = 0; x < 16; ++x) {
            file.resize(file.size() + 4);
            put(file.size() - 4, pixels[y * 16 + x], 4);
        }
    return file;
}

// Glyphs as 32-bit programs store them, drawn on a button up, down (on the
// checked face) and disabled, and looked at in a few pixels: shown in the
// glyph's own colour (the dark emboss when disabled), or clear (the face of
// a button without a glyph shows).
TEST(GlyphBitmap, AlphaDecidesWhatIsClearInEveryLook) {
    struct Probe {
        QPoint at;
        bool shown;
    };
    struct Case {
        const char* what;
        bool withMasks;
        QRgb ground, bottomLeft;
        bool alpha; // drawn with its alpha
        std::vector<Probe> probes;
    };
    // A black 5 x 3 triangle pointing down, rows 6 to 8, as small arrows are.
    const auto inShape = [](int x, int y) { return y >= 6 && y <= 8 && std::abs(x - 8) <= 8 - y; };
    const Case cases[] = {
        {"black triangle on clear black",
         false,
         0x00000000,
         0x00000000,
         true,
         {{{8, 6}, true}, {{8, 8}, true}, {{0, 15}, false}}},
        {"clear black corners, opaque grey at the bottom left",
         false,
         0x00000000,
         0xFF808080,
         true,
         {{{0, 0}, false}, {{8, 7}, true}, {{0, 15}, true}}},
        {"alpha mask never filled in: the bottom-left colour is clear",
         true,
         0x00FF00FF,
         0x00FF00FF,
         false,
         {{{8, 7}, true}, {{2, 2}, false}}},
    };
    TempDrives drives;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<QRgb> pixels(256, c.ground);
        for (int i = 0; i < 256; ++i)
            if (inShape(i % 16, i / 16))
                pixels[i] = c.alpha ? 0xFF000000 : 0x00000000;
        pixels[15 * 16] = c.bottomLeft;
        drives.WriteFile("glyph.bmp", Bmp32(pixels, c.withMasks));
        const QImage bitmap = LoadBitmapFromFile("C:\\glyph.bmp");
        EXPECT_EQ(bitmap.hasAlphaChannel(), c.alpha);

        TSpeedButton button, bare;
        for (TSpeedButton* b : {&button, &bare}) {
            b->resize(25, 25);
            b->SetGroupIndex(1);
            b->SetAllowAllUp(true);
        }
        button.SetGlyph(bitmap);
        for (const int look : {0, 1, 2}) { // up, down, disabled
            for (TSpeedButton* b : {&button, &bare}) {
                b->SetDown(look == 1);
                b->setEnabled(look != 2);
            }
            const QImage shown = button.grab().toImage(), face = bare.grab().toImage();
            const QRgb dark = button.palette().color(QPalette::Active, QPalette::Dark).rgb();
            for (const Probe& p : c.probes) {
                const QPoint at = (look == 1 ? QPoint(6, 6) : QPoint(5, 5)) + p.at;
                const QRgb own = look == 2 ? dark : pixels[p.at.y() * 16 + p.at.x()] | 0xFF000000;
                EXPECT_EQ(shown.pixel(at), p.shown ? own : face.pixel(at))
                    << "look " << look << " at " << p.at.x() << "," << p.at.y();
            }
        }
    }
}

} // namespace
