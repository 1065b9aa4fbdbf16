// Every file of the public BMP test suite (tests/data/bmpsuite) loaded as a
// glyph and shown on a speed button in its four looks: each file gets its
// decided outcome, and a loaded file shows the pixels its reference does.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "TempDrives.h"
#include "platform/ui/GlyphBitmap.h"
#include "platform/ui/SpeedButton.h"

using platform::EFailure;
using testsupport::TempDrives;

namespace {

const std::string kSuite = std::string(SPORVIK_TEST_DATA_DIR) + "/bmpsuite/";

enum class Check {
    Rejected,
    Loaded,      // no reference: loaded, shown, nothing more to compare
    Rendering,   // the reference rendering html/<model>.png, on the file's own colours
    SameAs,      // pixel for pixel the picture of the good file <model>
    SkippedZero, // as <model>, except that pixels the runs skip are palette entry 0
    PastPalette, // indices past the palette are black
    OneColour,   // every pixel the palette's only colour, so all of it is clear
    WithAlpha,   // the colours of <model> and an alpha channel of its own, partly clear
};

struct SuiteFile {
    const char* name;
    Check check;
    const char* model;
    const char* why;
};

// The decided outcome of every file. "why" is what a reader of a failure
// needs: what the file tries, and why it loads or not.
const std::vector<SuiteFile>& Suite() {
    static const std::vector<SuiteFile> files = {
        {"g/pal1.bmp", Check::Rendering, "pal1", "1 bit, black and white"},
        {"g/pal1bg.bmp", Check::Rendering, "pal1bg", "1 bit, two colours"},
        {"g/pal1wb.bmp", Check::SameAs, "g/pal1.bmp", "1 bit, palette white first"},
        {"g/pal4.bmp", Check::Rendering, "pal4", "4 bits"},
        {"g/pal4rle.bmp", Check::SameAs, "g/pal4.bmp", "4-bit runs"},
        {"g/pal8-0.bmp", Check::SameAs, "g/pal8.bmp", "colour count 0: a full palette"},
        {"g/pal8.bmp", Check::Rendering, "pal8", "8 bits, 252 colours"},
        {"g/pal8nonsquare.bmp", Check::Rendering, "pal8nonsquare-e", "densities ignored"},
        {"g/pal8os2.bmp", Check::SameAs, "g/pal8.bmp", "oldest header, 3-byte palette"},
        {"g/pal8rle.bmp", Check::SameAs, "g/pal8.bmp", "8-bit runs"},
        {"g/pal8topdown.bmp", Check::SameAs, "g/pal8.bmp", "rows top down"},
        {"g/pal8v4.bmp", Check::SameAs, "g/pal8.bmp", "108-byte header"},
        {"g/pal8v5.bmp", Check::SameAs, "g/pal8.bmp", "124-byte header"},
        {"g/pal8w124.bmp", Check::Rendering, "pal8w124", "row padding 0"},
        {"g/pal8w125.bmp", Check::Rendering, "pal8w125", "row padding 3"},
        {"g/pal8w126.bmp", Check::Rendering, "pal8w126", "row padding 2"},
        {"g/rgb16-565.bmp", Check::Rendering, "rgb16-565", "16 bits, masks 5-6-5"},
        {"g/rgb16-565pal.bmp", Check::SameAs, "g/rgb16-565.bmp", "masks 5-6-5, unused palette"},
        {"g/rgb16.bmp", Check::Rendering, "rgb16", "16 bits, 5-5-5"},
        {"g/rgb24.bmp", Check::Rendering, "rgb24", "24 bits"},
        {"g/rgb24pal.bmp", Check::SameAs, "g/rgb24.bmp", "24 bits, unused palette"},
        {"g/rgb32.bmp", Check::SameAs, "g/rgb24.bmp", "32 bits"},
        {"g/rgb32bf.bmp", Check::SameAs, "g/rgb24.bmp", "32 bits, masks"},
        {"q/pal1p1.bmp", Check::OneColour, "", "1-colour palette, 1 bit"},
        {"q/pal2.bmp", Check::Loaded, "", "2 bits"},
        {"q/pal4rletrns.bmp", Check::SkippedZero, "g/pal4.bmp", "runs skip pixels"},
        {"q/pal8offs.bmp", Check::SameAs, "g/pal8.bmp", "gap between palette and pixels"},
        {"q/pal8os2sp.bmp", Check::SameAs, "g/pal8.bmp", "oldest header, short palette"},
        {"q/pal8os2v2-16.bmp", Check::SameAs, "g/pal8.bmp", "16-byte OS/2 header"},
        {"q/pal8os2v2.bmp", Check::SameAs, "g/pal8.bmp", "64-byte OS/2 header"},
        {"q/pal8oversizepal.bmp", Check::Rejected, "", "300 colours declared for 8 bits"},
        {"q/pal8rletrns.bmp", Check::SkippedZero, "g/pal8.bmp", "runs skip pixels"},
        {"q/rgb16-231.bmp", Check::Loaded, "", "masks 2-3-1, widened"},
        {"q/rgb24jpeg.bmp", Check::Rejected, "", "embedded JPEG"},
        {"q/rgb24largepal.bmp", Check::SameAs, "g/rgb24.bmp", "24 bits, 300 unused colours"},
        {"q/rgb24lprof.bmp", Check::SameAs, "g/rgb24.bmp", "linked colour profile ignored"},
        {"q/rgb24png.bmp", Check::Rejected, "", "embedded PNG"},
        {"q/rgb24prof.bmp", Check::SameAs, "g/rgb24.bmp", "embedded colour profile ignored"},
        {"q/rgb32-111110.bmp", Check::Loaded, "", "masks 11-11-10, top bits kept"},
        {"q/rgb32bf-xbgr.bmp", Check::SameAs, "g/rgb24.bmp", "masks in a 124-byte header"},
        {"q/rgb32fakealpha.bmp", Check::WithAlpha, "g/rgb24.bmp", "unused byte set: read as alpha"},
        {"q/rgb32h52.bmp", Check::SameAs, "g/rgb24.bmp", "52-byte header with masks"},
        {"q/rgba16-4444.bmp", Check::WithAlpha, "", "16 bits, 4-bit alpha"},
        {"q/rgba32.bmp", Check::WithAlpha, "", "alpha mask in a 124-byte header"},
        {"q/rgba32abf.bmp", Check::SameAs, "q/rgba32.bmp", "alpha bit fields"},
        {"q/rgba32h56.bmp", Check::SameAs, "q/rgba32.bmp", "alpha mask in a 56-byte header"},
        {"b/badbitcount.bmp", Check::Rejected, "", "depth 30000"},
        {"b/badbitssize.bmp", Check::SameAs, "g/pal1.bmp", "wrong image size, pixels all there"},
        {"b/baddens1.bmp", Check::SameAs, "g/pal1.bmp", "absurd density, ignored"},
        {"b/baddens2.bmp", Check::SameAs, "g/pal1.bmp", "absurd density, ignored"},
        {"b/badfilesize.bmp", Check::SameAs, "g/pal1.bmp", "wrong file size, pixels all there"},
        {"b/badheadersize.bmp", Check::Rejected, "", "unknown header size 66"},
        {"b/badpalettesize.bmp", Check::Rejected, "", "305402420 colours declared for 8 bits"},
        {"b/badplanes.bmp", Check::Rejected, "", "30000 planes"},
        {"b/badrle.bmp", Check::Rejected, "", "runs past the end of their rows"},
        {"b/badwidth.bmp", Check::Rejected, "", "negative width"},
        {"b/pal8badindex.bmp", Check::PastPalette, "", "indices past a 101-colour palette"},
        {"b/reallybig.bmp", Check::Rejected, "", "3000000 x 2000000, past the glyph limit"},
        {"b/rletopdown.bmp", Check::Rejected, "", "runs with rows top down"},
        {"b/shortfile.bmp", Check::Rejected, "", "pixel data cut short"},
    };
    return files;
}

std::string Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "cannot read " << path;
    return file.readAll().toStdString();
}

class BmpSuite : public ::testing::Test {
protected:
    // The file loaded through a Windows path, as a page fill loads it; a
    // null picture with `failure` set when it is refused.
    QImage Load(const std::string& name, std::string* failure = nullptr) {
        drives_.WriteFile("suite.bmp", Read(kSuite + name));
        try {
            return platform::LoadBitmapFromFile("C:\\suite.bmp");
        } catch (const EFailure& e) {
            if (failure)
                *failure = e.what();
            else
                ADD_FAILURE() << name << " refused: " << e.what();
        }
        return QImage();
    }
    TempDrives drives_;
};

int Distance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// A channel of `bits` bits nearest to `value`, widened by repeating its bits.
int OnLevel(int value, int bits) {
    const int max = (1 << bits) - 1;
    const int level = (value * max + 127) / 255;
    int wide = 0, filled = 0;
    for (; filled < 8; filled += bits)
        wide = (wide << bits) | level;
    return wide >> (filled - 8);
}

// The colour the file can hold nearest to a reference pixel: the renderings
// round palette colours and 5- and 6-bit channels their own way, so a loaded
// pixel is held to the nearest colour of its own palette or channel levels.
QRgb OwnColour(const QImage& loaded, QRgb reference, int greenBits) {
    if (loaded.format() != QImage::Format_Indexed8) {
        if (greenBits == 8)
            return reference;
        return qRgb(OnLevel(qRed(reference), 5), OnLevel(qGreen(reference), greenBits),
                    OnLevel(qBlue(reference), 5));
    }
    QRgb best = loaded.color(0);
    for (QRgb entry : loaded.colorTable())
        if (Distance(entry, reference) < Distance(best, reference))
            best = entry;
    EXPECT_LE(Distance(best, reference), 1) << "no palette colour near the rendering";
    return best;
}

void ExpectRendering(const QImage& loaded, const SuiteFile& f) {
    const QImage reference = QImage(QString::fromStdString(kSuite + "html/" + f.model + ".png"))
                                 .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(loaded.size(), reference.size());
    const std::string name = f.name;
    const int greenBits = name.find("rgb16-565") != std::string::npos ? 6
                          : name.find("rgb16") != std::string::npos   ? 5
                                                                      : 8;
    int wrong = 0;
    for (int y = 0; y < loaded.height(); ++y)
        for (int x = 0; x < loaded.width(); ++x)
            if (loaded.pixel(x, y) != OwnColour(loaded, reference.pixel(x, y), greenBits) &&
                ++wrong <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y;
    EXPECT_EQ(wrong, 0);
}

// Pixels of `loaded` that differ from `model`; with skippedZero, pixels that
// are palette entry 0 are not counted but returned in `skipped`.
int Differences(const QImage& loaded, const QImage& model, bool skippedZero, int& skipped) {
    int wrong = 0;
    skipped = 0;
    for (int y = 0; y < loaded.height(); ++y)
        for (int x = 0; x < loaded.width(); ++x) {
            if (loaded.pixel(x, y) == model.pixel(x, y))
                continue;
            if (skippedZero && loaded.pixelIndex(x, y) == 0)
                ++skipped;
            else
                ++wrong;
        }
    return wrong;
}

// The button's picture in one look: the glyph image `index` of `count` at
// `at` over `bare`, the same look without a glyph. Opaque pixels show as
// loaded, clear ones (alpha 0, or the bottom-left colour of a bitmap without
// alpha) show the bare face, the rest lie between the two. Returns how many
// pixels were drawn.
int ExpectGlyphShown(const QImage& shown, const QImage& bare, const QImage& bitmap, int count,
                     int index, QPoint at) {
    const bool alpha = bitmap.hasAlphaChannel();
    const QRgb clear = bitmap.pixel(0, bitmap.height() - 1) & 0xFFFFFF;
    const int width = bitmap.width() / count;
    int wrong = 0, drawn = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = bitmap.pixel(index * width + x, y);
            const int opacity = alpha ? qAlpha(pixel) : (pixel & 0xFFFFFF) == clear ? 0 : 255;
            const QRgb face = bare.pixel(at + QPoint(x, y)), got = shown.pixel(at + QPoint(x, y));
            drawn += opacity > 0;
            if (opacity == 255)
                wrong += got != (pixel | 0xFF000000);
            else if (opacity == 0)
                wrong += got != face;
            else
                wrong += Distance(got, face) + Distance(got, pixel) > Distance(face, pixel) + 2;
        }
    EXPECT_EQ(wrong, 0) << "image " << index << " of " << count;
    return drawn;
}

// A button in its looks: up, held by the mouse, staying down and disabled.
struct Looks {
    QImage up, held, down, disabled;
};

Looks LooksOf(const QImage& bitmap, int count, QSize size) {
    TSpeedButton button;
    button.SetGroupIndex(1);
    button.SetAllowAllUp(true);
    button.SetGlyph(bitmap);
    button.SetNumGlyphs(count);
    button.resize(size);
    Looks looks;
    looks.up = button.grab().toImage();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
    looks.held = button.grab().toImage();
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(button.Down());
    looks.down = button.grab().toImage();
    button.SetDown(false);
    button.setEnabled(false);
    looks.disabled = button.grab().toImage();
    return looks;
}

// The glyph on a button in its four looks, each showing its own image of the
// glyph. Returns how many pixels were drawn.
int ExpectOnButton(const QImage& bitmap) {
    const int count = std::clamp(bitmap.width() / 16, 1, 4);
    const QSize size = QSize(bitmap.width() / count, bitmap.height()) + QSize(8, 8);
    const Looks shown = LooksOf(bitmap, count, size), bare = LooksOf(QImage(), count, size);
    const QPoint centre(4, 4), pressed(5, 5);
    int drawn = ExpectGlyphShown(shown.up, bare.up, bitmap, count, 0, centre);
    drawn += ExpectGlyphShown(shown.held, bare.held, bitmap, count, count > 2 ? 2 : 0, pressed);
    drawn += ExpectGlyphShown(shown.down, bare.down, bitmap, count, count > 3 ? 3 : 0, pressed);
    if (count >= 2)
        drawn += ExpectGlyphShown(shown.disabled, bare.disabled, bitmap, count, 1, centre);
    else
        EXPECT_NE(shown.disabled, bare.disabled);
    return drawn;
}

// Alpha read as alpha: the bitmap keeps an alpha channel, some of it clear
// and some opaque, and where it is not clear its colours are the model's.
void ExpectAlpha(const QImage& loaded, const QImage& model) {
    ASSERT_TRUE(loaded.hasAlphaChannel());
    int clear = 0, opaque = 0, wrong = 0;
    for (int y = 0; y < loaded.height(); ++y)
        for (int x = 0; x < loaded.width(); ++x) {
            const QRgb pixel = loaded.pixel(x, y);
            clear += qAlpha(pixel) == 0;
            opaque += qAlpha(pixel) == 255;
            if (!model.isNull() && qAlpha(pixel) != 0)
                wrong += (pixel & 0xFFFFFF) != (model.pixel(x, y) & 0xFFFFFF);
        }
    EXPECT_GT(clear, 0);
    EXPECT_GT(opaque, 0);
    EXPECT_EQ(wrong, 0);
}

TEST_F(BmpSuite, EveryFileGetsItsDecidedOutcomeAndLoadedOnesShowTheirPixels) {
    // The table and the folders hold the same files.
    qsizetype files = 0;
    for (const char* folder : {"g", "q", "b"})
        files += QDir(QString::fromStdString(kSuite + folder)).entryList({"*.bmp"}).size();
    EXPECT_EQ(files, static_cast<qsizetype>(Suite().size()));
    for (const SuiteFile& f : Suite()) {
        SCOPED_TRACE(std::string(f.name) + ": " + f.why);
        std::string failure = "no failure";
        const QImage loaded = Load(f.name, &failure);
        if (f.check == Check::Rejected) {
            EXPECT_EQ(failure, "Bitmap image is not valid");
            continue;
        }
        ASSERT_FALSE(loaded.isNull()) << failure;
        if (f.check == Check::Rendering)
            ExpectRendering(loaded, f);
        if (f.check == Check::WithAlpha) {
            ExpectAlpha(loaded, *f.model ? Load(f.model) : QImage());
        } else if (f.check != Check::SameAs) {
            EXPECT_FALSE(loaded.hasAlphaChannel());
        }
        if (f.check == Check::SameAs || f.check == Check::SkippedZero) {
            const QImage model = Load(f.model);
            ASSERT_EQ(loaded.size(), model.size());
            EXPECT_EQ(loaded.hasAlphaChannel(), model.hasAlphaChannel());
            int skipped = 0;
            EXPECT_EQ(Differences(loaded, model, f.check == Check::SkippedZero, skipped), 0);
            EXPECT_EQ(skipped > 0, f.check == Check::SkippedZero) << skipped;
        }
        if (f.check == Check::PastPalette) {
            ASSERT_EQ(loaded.format(), QImage::Format_Indexed8);
            int past = 0, wrong = 0;
            const int entries = f.name[0] == 'q' ? 1 : 101; // what the files declare
            for (int y = 0; y < loaded.height(); ++y)
                for (int x = 0; x < loaded.width(); ++x)
                    if (loaded.pixelIndex(x, y) >= entries) {
                        ++past;
                        wrong += loaded.pixel(x, y) != qRgb(0, 0, 0); // black, always
                    }
            EXPECT_GT(past, 0);
            EXPECT_EQ(wrong, 0);
        }
        if (f.check == Check::OneColour) {
            QImage uniform(loaded.size(), QImage::Format_RGB32);
            uniform.fill(qRgb(0x40, 0x40, 0xFF)); // the palette's colour
            EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), uniform);
        }
        EXPECT_EQ(ExpectOnButton(loaded) > 0, f.check != Check::OneColour);
    }
}

} // namespace
