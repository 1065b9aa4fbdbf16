// The speed button as the glyph grid uses it: what it draws in each state and
// how clicks toggle it. Pictures are checked pixel by pixel on grab().
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <array>
#include <gtest/gtest.h>
#include <vector>

#include "platform/ui/SpeedButton.h"

namespace {

const QRgb kClear = qRgb(255, 0, 255); // the bottom-left colour of every test glyph
const QRgb kImageColours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                               qRgb(255, 255, 0)};

// `count` images of 16 x 16 side by side, each an 8 x 8 square of its own
// colour (pixels 4 to 11) on the transparent colour.
QImage Glyph(int count) {
    QImage bitmap(16 * count, 16, QImage::Format_RGB32);
    bitmap.fill(kClear);
    QPainter painter(&bitmap);
    for (int i = 0; i < count; ++i)
        painter.fillRect(16 * i + 4, 4, 8, 8, kImageColours[i]);
    return bitmap;
}

QImage Render(QWidget& w) {
    return w.grab().toImage();
}
// Colours compared as 8-bit RGB, the way the picture holds them.
QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y);
}
// The colours an enabled button is drawn in (a disabled one keeps them).
QRgb Role(const QWidget& w, QPalette::ColorRole role) {
    return w.palette().color(QPalette::Active, role).rgb();
}

void Mouse(QWidget& w, QEvent::Type type, Qt::MouseButton button, QPoint at = {12, 12}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), w.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

void ClickOn(QWidget& w, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(w, QEvent::MouseButtonPress, button);
    Mouse(w, QEvent::MouseButtonRelease, button);
}

// A glyph button as the main window makes it: 25 x 25, its own group, all up allowed.
struct GlyphButton {
    QWidget window;
    TSpeedButton* button = new TSpeedButton(&window);
    explicit GlyphButton(int group = 1) {
        button->setGeometry(0, 0, 25, 25);
        button->SetGroupIndex(group);
        button->SetAllowAllUp(true);
    }
};

// The square of the 16 x 16 image centred on a 25 x 25 button covers 9 to 16,
// or 10 to 17 when the button is pressed.
TEST(SpeedButton, DrawsTheImageOfEachStateFromAFourImageGlyph) {
    GlyphButton g;
    g.button->SetGlyph(Glyph(4));
    g.button->SetNumGlyphs(4);
    EXPECT_EQ(At(Render(*g.button), 9, 9), kImageColours[0]) << "up";
    EXPECT_EQ(At(Render(*g.button), 8, 8), Role(*g.button, QPalette::Button)) << "transparent";

    Mouse(*g.button, QEvent::MouseButtonPress, Qt::LeftButton);
    QImage held = Render(*g.button);
    EXPECT_EQ(At(held, 10, 10), kImageColours[2]) << "held by the mouse";
    EXPECT_EQ(At(held, 9, 9), Role(*g.button, QPalette::Button)) << "pressed glyph moves";
    Mouse(*g.button, QEvent::MouseButtonRelease, Qt::LeftButton);

    ASSERT_TRUE(g.button->Down());
    EXPECT_EQ(At(Render(*g.button), 10, 10), kImageColours[3]) << "down";

    g.button->setEnabled(false);
    const QImage disabled = Render(*g.button);
    EXPECT_EQ(At(disabled, 9, 9), kImageColours[1]) << "disabled, even when down";
    EXPECT_EQ(At(disabled, 0, 0), Role(*g.button, QPalette::Light)) << "drawn raised";
    EXPECT_EQ(At(disabled, 24, 24), Role(*g.button, QPalette::Shadow));
    EXPECT_EQ(At(disabled, 3, 4), Role(*g.button, QPalette::Button)) << "no checks";
}

TEST(SpeedButton, ImageCountCutsTheBitmapIntoEqualWidths) {
    // Two images of 32 x 16 from the 64 x 16 bitmap: the disabled one is the
    // right half, drawn from x (25 - 32 + 1) / 2 = -3, so its blue square
    // (bitmap x 36 to 43) lies at x 1 to 8 and its yellow one at 17 to 24.
    GlyphButton g;
    g.button->SetGlyph(Glyph(4));
    g.button->SetNumGlyphs(2);
    g.button->setEnabled(false);
    const QImage image = Render(*g.button);
    EXPECT_EQ(At(image, 1, 9), kImageColours[2]);
    EXPECT_EQ(At(image, 8, 9), kImageColours[2]);
    EXPECT_EQ(At(image, 9, 9), Role(*g.button, QPalette::Button));
    EXPECT_EQ(At(image, 17, 9), kImageColours[3]);

    // The count stays within 1 to 4.
    g.button->SetNumGlyphs(9);
    EXPECT_EQ(g.button->NumGlyphs(), 4);
    g.button->SetNumGlyphs(0);
    EXPECT_EQ(g.button->NumGlyphs(), 1);
}

TEST(SpeedButton, AOneImageGlyphStandsInForEveryStateAndIsEmbossedWhenDisabled) {
    GlyphButton g;
    g.button->SetGlyph(Glyph(1));
    Mouse(*g.button, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(At(Render(*g.button), 10, 10), kImageColours[0]) << "held";
    Mouse(*g.button, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(At(Render(*g.button), 17, 17), kImageColours[0]) << "down";

    g.button->setEnabled(false);
    const QImage image = Render(*g.button);
    const QRgb dark = Role(*g.button, QPalette::Dark);
    const QRgb light = Role(*g.button, QPalette::Light);
    const QRgb face = Role(*g.button, QPalette::Button);
    for (int i = 9; i <= 16; ++i) {
        EXPECT_EQ(At(image, i, 9), dark) << "shape, top row, x " << i;
        EXPECT_EQ(At(image, 16, i), dark) << "shape, right column, y " << i;
        EXPECT_EQ(At(image, i + 1, 17), light) << "light copy below, x " << i + 1;
        EXPECT_EQ(At(image, 17, i + 1), light) << "light copy right, y " << i + 1;
    }
    EXPECT_EQ(At(image, 8, 9), face);
    EXPECT_EQ(At(image, 9, 17), face) << "the light copy is offset, not grown";
    EXPECT_EQ(At(image, 18, 18), face);
}

TEST(SpeedButton, ADisabledButtonKeepsItsRaisedFrameAndFace) {
    GlyphButton g;
    g.button->SetGlyph(Glyph(1));
    const QImage enabled = Render(*g.button);
    g.button->setEnabled(false);
    const QImage disabled = Render(*g.button);
    // Every pixel outside the picture's square is the same: edges and face.
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 25; ++x) {
            const bool picture = x >= 9 && x <= 17 && y >= 9 && y <= 17;
            if (!picture) {
                ASSERT_EQ(At(disabled, x, y), At(enabled, x, y)) << x << "," << y;
            }
        }
    EXPECT_EQ(At(disabled, 0, 0), Role(*g.button, QPalette::Light));
    EXPECT_EQ(At(disabled, 24, 24), Role(*g.button, QPalette::Shadow));
}

TEST(SpeedButton, ANewGlyphImageCountOrPaletteShowsAtOnce) {
    GlyphButton g;
    g.button->SetGlyph(Glyph(4));
    g.button->SetNumGlyphs(4);
    EXPECT_EQ(At(Render(*g.button), 9, 9), kImageColours[0]);
    g.button->SetNumGlyphs(1); // the whole 64 pixels as one image, from x -19
    EXPECT_EQ(At(Render(*g.button), 9, 9), Role(*g.button, QPalette::Button));
    EXPECT_EQ(At(Render(*g.button), 17, 9), kImageColours[2]);
    QImage other = Glyph(1);
    other.setPixel(9, 9, kImageColours[3]);
    g.button->SetGlyph(other);
    EXPECT_EQ(At(Render(*g.button), 14, 14), kImageColours[3]);

    g.button->setEnabled(false);
    EXPECT_EQ(At(Render(*g.button), 9, 9), Role(*g.button, QPalette::Dark));
    QPalette palette = g.button->palette();
    palette.setColor(QPalette::Dark, qRgb(10, 20, 30));
    g.button->setPalette(palette);
    EXPECT_EQ(At(Render(*g.button), 9, 9), qRgb(10, 20, 30));
}

TEST(SpeedButton, TheBottomLeftPixelOfTheWholeBitmapIsTransparent) {
    // Two images on a green ground; the second image's top-left pixel is magenta.
    QImage bitmap(32, 16, QImage::Format_RGB32);
    bitmap.fill(Qt::green);
    bitmap.setPixel(16, 0, kClear);
    bitmap.setPixel(0, 0, qRgb(0, 0, 255));
    GlyphButton g;
    g.button->SetGlyph(bitmap);
    g.button->SetNumGlyphs(2);
    QImage image = Render(*g.button);
    EXPECT_EQ(At(image, 5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(At(image, 6, 5), Role(*g.button, QPalette::Button));
    EXPECT_EQ(At(image, 5, 20), Role(*g.button, QPalette::Button));

    g.button->setEnabled(false); // image 2: only its magenta pixel is drawn
    image = Render(*g.button);
    EXPECT_EQ(At(image, 5, 5), kClear);
    EXPECT_EQ(At(image, 6, 5), Role(*g.button, QPalette::Button));
}

TEST(SpeedButton, ADownButtonHasASunkenCheckedFace) {
    GlyphButton g;
    const QRgb face = Role(*g.button, QPalette::Button);
    const QRgb white = Role(*g.button, QPalette::Light);
    const QImage up = Render(*g.button);
    EXPECT_EQ(At(up, 0, 0), white);
    EXPECT_EQ(At(up, 24, 24), Role(*g.button, QPalette::Shadow));
    EXPECT_EQ(At(up, 12, 12), face);

    Mouse(*g.button, QEvent::MouseButtonPress, Qt::LeftButton);
    const QImage held = Render(*g.button);
    EXPECT_EQ(At(held, 0, 0), Role(*g.button, QPalette::Shadow)) << "held: sunken";
    EXPECT_EQ(At(held, 24, 24), white);
    EXPECT_EQ(At(held, 12, 12), face) << "held: plain face";
    EXPECT_EQ(At(held, 13, 12), face);
    Mouse(*g.button, QEvent::MouseButtonRelease, Qt::LeftButton);

    const QImage down = Render(*g.button);
    EXPECT_EQ(At(down, 0, 0), Role(*g.button, QPalette::Shadow));
    for (int y = 2; y <= 22; ++y)
        for (int x = 2; x <= 22; ++x)
            ASSERT_EQ(At(down, x, y), (x + y) % 2 == 0 ? white : face) << x << "," << y;
}

TEST(SpeedButton, LeftClicksToggleByGroup) {
    QWidget window;
    TSpeedButton plain(&window), glyph1(&window), glyph2(&window), a(&window), b(&window);
    std::vector<TSpeedButton*> clicked;
    for (TSpeedButton* button : {&plain, &glyph1, &glyph2, &a, &b})
        QObject::connect(button, &TSpeedButton::clicked,
                         [&](TSpeedButton* sender) { clicked.push_back(sender); });
    // Glyph buttons: each its own group, all up allowed.
    glyph1.SetGroupIndex(1);
    glyph2.SetGroupIndex(2);
    glyph1.SetAllowAllUp(true);
    glyph2.SetAllowAllUp(true);
    ClickOn(glyph1);
    ClickOn(glyph2);
    EXPECT_TRUE(glyph1.Down() && glyph2.Down());
    ClickOn(glyph1);
    EXPECT_TRUE(!glyph1.Down() && glyph2.Down());
    EXPECT_EQ(clicked, (std::vector<TSpeedButton*>{&glyph1, &glyph2, &glyph1}));

    // Released outside the button: no click, no change.
    Mouse(glyph1, QEvent::MouseButtonPress, Qt::LeftButton);
    Mouse(glyph1, QEvent::MouseMove, Qt::LeftButton, {40, 40});
    Mouse(glyph1, QEvent::MouseButtonRelease, Qt::LeftButton, {40, 40});
    EXPECT_FALSE(glyph1.Down());
    EXPECT_EQ(clicked.size(), 3u);

    // No group: a plain button, never down.
    ClickOn(plain);
    plain.SetDown(true);
    EXPECT_FALSE(plain.Down());
    EXPECT_EQ(clicked.back(), &plain);

    // One group without "all up": one button down at a time, never none.
    a.SetGroupIndex(5);
    b.SetGroupIndex(5);
    ClickOn(a);
    ClickOn(a);
    EXPECT_TRUE(a.Down());
    ClickOn(b);
    EXPECT_TRUE(b.Down() && !a.Down());
    b.SetDown(false);
    EXPECT_TRUE(b.Down());
}

TEST(SpeedButton, RightClicksAndDisabledButtonsNeverToggle) {
    GlyphButton g;
    std::vector<std::array<int, 3>> presses; // button, x, y
    int clicks = 0;
    QObject::connect(
        g.button, &TSpeedButton::mouseDown,
        [&](TSpeedButton* sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
            EXPECT_EQ(sender, g.button);
            presses.push_back({int(button), x, y});
        });
    QObject::connect(g.button, &TSpeedButton::clicked, [&] { ++clicks; });
    Mouse(*g.button, QEvent::MouseButtonPress, Qt::RightButton, {3, 7});
    Mouse(*g.button, QEvent::MouseButtonRelease, Qt::RightButton, {3, 7});
    EXPECT_FALSE(g.button->Down());
    g.button->SetDown(true);
    ClickOn(*g.button, Qt::RightButton);
    EXPECT_TRUE(g.button->Down());
    EXPECT_EQ(clicks, 0);
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0], (std::array<int, 3>{Qt::RightButton, 3, 7}));

    // Disabled: no input at all, and the down state is kept for later.
    g.button->setEnabled(false);
    ClickOn(*g.button);
    ClickOn(*g.button, Qt::RightButton);
    EXPECT_EQ(presses.size(), 2u);
    EXPECT_EQ(clicks, 0);
    g.button->setEnabled(true);
    EXPECT_TRUE(g.button->Down());
}

TEST(SpeedButton, ShowsItsWindowsHintAsToolTip) {
    TSpeedButton button;
    button.SetHint("M\xFCll.bmp");
    EXPECT_EQ(button.toolTip(), QString::fromUtf8("M\xC3\xBCll.bmp"));
    button.SetShowHint(false);
    EXPECT_TRUE(button.toolTip().isEmpty());
}

} // namespace
