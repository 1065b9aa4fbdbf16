// The glyph pages through the real main window.
#include "HostFiles.h"
#include "MainWindowFixture.h"

#include "app/Glyph_MW.h"
#include "controls/FiLabel.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressBar.h"

namespace {

struct PageButtons {
    bool first, previous, next, last;
    bool operator==(const PageButtons&) const = default;
};

PageButtons Enabled(const TFormMainWindow& w) {
    return {w.SpeedButtonFirst->isEnabled(), w.SpeedButtonPrevious->isEnabled(),
            w.SpeedButtonNext->isEnabled(), w.SpeedButtonLast->isEnabled()};
}

TEST_F(MainWindowTest, EmptyDirectoryShowsNoGlyphAndNoPaging) {
    auto& w = Open();
    EXPECT_EQ(CurrentDir(), "C:\\prog\\");
    EXPECT_EQ(w.FileLabel1->FileName(), "C:\\prog");
    EXPECT_EQ(w.LabelAnzahl->Caption(), "0 Glyph(s)");
    EXPECT_TRUE(ShownHints().empty());
    EXPECT_EQ(Enabled(w), (PageButtons{false, false, false, false}));
    EXPECT_EQ(w.ProgressBar1->Position(), 0);
}

TEST_F(MainWindowTest, PagesThroughThirtyThreeGlyphs) {
    WriteGlyphs("prog", 33);
    auto& w = Open();
    EXPECT_EQ(w.LabelAnzahl->Caption(), "33 Glyph(s)");
    EXPECT_EQ(ShownHints(), testsupport::GlyphNames(1, 32));
    EXPECT_EQ(Enabled(w), (PageButtons{false, false, true, true}));

    w.SpeedButtonNext->Click();
    EXPECT_EQ(ShownHints(), testsupport::GlyphNames(33, 33));
    EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(33, 33));
    EXPECT_EQ(Enabled(w), (PageButtons{true, true, false, false}));
    // Hidden buttons keep what they showed before.
    EXPECT_EQ(Glyph(2)->Hint(), "g0002.bmp");

    w.SpeedButtonPrevious->Click();
    EXPECT_EQ(ShownHints(), testsupport::GlyphNames(1, 32));
    EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(1, 32));

    w.SpeedButtonLast->Click();
    EXPECT_EQ(ShownHints(), testsupport::GlyphNames(33, 33));
    EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(33, 33));

    w.SpeedButtonFirst->Click();
    EXPECT_EQ(ShownHints(), testsupport::GlyphNames(1, 32));
    EXPECT_EQ(Enabled(w), (PageButtons{false, false, true, true}));
}

TEST_F(MainWindowTest, LastPageStartsAtTheLastMultipleOfThirtyTwoPlusOne) {
    struct Case {
        int count, firstOfLast, shownOnLast;
    } cases[] = {{1, 1, 1}, {32, 1, 32}, {64, 33, 32}, {65, 65, 1}, {96, 65, 32}};
    auto& w = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const std::string dir = "d" + std::to_string(c.count);
        WriteGlyphs(dir, c.count);
        w.LoadDirectory("C:\\" + dir);
        const bool onePage = c.count <= 32;
        EXPECT_EQ(Enabled(w), (PageButtons{false, false, !onePage, !onePage}));
        w.SpeedButtonLast->Click();
        EXPECT_EQ(w.Pages().FirstShown(), c.firstOfLast);
        EXPECT_EQ(w.Pages().LastShown(), c.count);
        EXPECT_EQ(ShownHints(),
                  testsupport::GlyphNames(c.firstOfLast, c.firstOfLast + c.shownOnLast - 1));
        EXPECT_EQ(Enabled(w).next, false);
    }
}

TEST_F(MainWindowTest, ImageCountFollowsTheBitmapWidth) {
    WriteBmp("prog/a.bmp", 20, 20);
    WriteBmp("prog/b.bmp", 40, 20);
    WriteBmp("prog/c.bmp", 80, 16);
    WriteBmp("prog/d.bmp", 10, 10);
    WriteBmp("prog/e.bmp", 32, 32);
    WriteBmp("other/tiny.bmp", 10, 10);
    auto& w = Open();
    EXPECT_EQ(Glyph(1)->NumGlyphs(), 1);
    EXPECT_EQ(Glyph(2)->NumGlyphs(), 2);
    EXPECT_EQ(Glyph(3)->NumGlyphs(), 4);
    EXPECT_EQ(Glyph(4)->NumGlyphs(), 1); // never showed a glyph before
    EXPECT_EQ(Glyph(5)->NumGlyphs(), 2);
    // A bitmap narrower than 16 pixels keeps the button's count.
    w.LoadDirectory("C:\\other");
    EXPECT_EQ(ShownHints(), std::vector<std::string>{"tiny.bmp"});
    EXPECT_EQ(Glyph(1)->NumGlyphs(), 1);
    w.LoadDirectory("C:\\prog");
    w.LoadDirectory("C:\\OTHER\\");
    EXPECT_EQ(CurrentDir(), "C:\\OTHER\\");
    EXPECT_EQ(Glyph(1)->NumGlyphs(), 1); // 20 x 20 gave 1 and stays
    WriteBmp("third/x.bmp", 80, 16);
    WriteBmp("third/y.bmp", 8, 8);
    w.LoadDirectory("C:\\third");
    w.SpeedButtonFirst->Click();
    EXPECT_EQ(Glyph(2)->NumGlyphs(), 2); // button 2 last showed a 40 x 20 bitmap
}

TEST_F(MainWindowTest, ZeroLengthFileGetsAnEmptyPicture) {
    WriteBmp("prog/a.bmp", 64, 16);
    drives_.WriteFile("prog/empty.bmp", "");
    auto& w = Open();
    EXPECT_EQ(ShownHints(), (std::vector<std::string>{"a.bmp", "empty.bmp"}));
    EXPECT_TRUE(Glyph(2)->Glyph().isNull());
    EXPECT_EQ(Glyph(2)->NumGlyphs(), 1);
    EXPECT_EQ(w.LabelAnzahl->Caption(), "2 Glyph(s)");
}

TEST_F(MainWindowTest, StepProgressWrapsAtTheMaximum) {
    auto& w = Open();
    std::vector<int> seen;
    for (int i = 0; i < 11; ++i) {
        w.StepProgress();
        seen.push_back(w.ProgressBar1->Position());
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 10}));
}

TEST_F(MainWindowTest, FindGlyphButtonIgnoresCaseAndSeesHiddenButtons) {
    WriteGlyphs("prog", 33);
    auto& w = Open();
    EXPECT_EQ(w.FindGlyphButton("G0005.BMP"), Glyph(5));
    w.SpeedButtonNext->Click();
    EXPECT_EQ(w.FindGlyphButton("g0005.bmp"), Glyph(5)); // hidden, still found
    EXPECT_EQ(w.FindGlyphButton("Next Page"), w.SpeedButtonNext);
    EXPECT_EQ(w.FindGlyphButton("missing.bmp"), nullptr);
}

TEST_F(MainWindowTest, GridFollowsTheBevel) {
    auto& w = Open();
    EXPECT_EQ(Glyph(1)->geometry(), QRect(28, 25, 25, 25));
    EXPECT_EQ(Glyph(8)->geometry(), QRect(308, 25, 25, 25));
    EXPECT_EQ(Glyph(32)->geometry(), QRect(308, 145, 25, 25));
    EXPECT_EQ(w.findChild<TSpeedButton*>("SpeedButtonDyn9")->GroupIndex(), 9);
    EXPECT_EQ(w.ProgressBar1->geometry(), QRect(0, 276, 362, 15));
    EXPECT_EQ(w.size(), QSize(362, 291));
}

} // namespace
