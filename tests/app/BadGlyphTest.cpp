// A glyph file that cannot be loaded ends the command at that file and goes
// to the standard failure report; what was done before it stays done.
#include "MainWindowFixture.h"

#include "ModalAnswer.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressBar.h"

namespace {

TEST_F(MainWindowTest, ASubDirectoryNamedLikeAGlyphStopsThePageFill) {
    WriteBmp("prog/a.bmp");
    WriteBmp("prog/b.bmp");
    drives_.MakeDir("prog/old.bmp");
    WriteBmp("prog/z.bmp");
    testsupport::ModalAnswer answer;
    answer.Press("OK");
    auto& w = Open();

    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].caption, "Sporvik");
    EXPECT_EQ(answer.Seen()[0].text, "Cannot open file \"C:\\prog\\old.bmp\".");
    // The directory, count and labels were set before the fill began.
    EXPECT_EQ(CurrentDir, "C:\\prog\\");
    EXPECT_EQ(w.GlyphCount, 4);
    EXPECT_EQ(w.LabelAnzahl->Caption(), "4 Glyph(s)");
    // Buttons before the bad file are filled, its own is untouched and the
    // ones after it are not hidden.
    EXPECT_EQ(Glyph(1)->Hint(), "a.bmp");
    EXPECT_EQ(Glyph(2)->Hint(), "b.bmp");
    EXPECT_EQ(Glyph(3)->Hint(), "");
    EXPECT_TRUE(Glyph(3)->Glyph().isNull());
    EXPECT_FALSE(Glyph(32)->isHidden());
    // Page fields and buttons keep their values from before; the bar stays.
    EXPECT_EQ(std::pair(w.FirstShown, w.LastShown), std::pair(0, 0));
    EXPECT_TRUE(w.SpeedButtonNext->isEnabled());
    EXPECT_EQ(w.ProgressBar1->Position(), 30);
}

TEST_F(MainWindowTest, ABadGlyphOnTheNextPageLeavesTheShownPageCurrent) {
    WriteGlyphs("prog", 33);
    drives_.WriteFile("prog/g0034.bmp", "BMnot really a bitmap");
    auto& w = Open();
    ASSERT_EQ(w.GlyphCount, 34);
    Glyph(1)->SetDown(true);

    testsupport::ModalAnswer answer;
    answer.Press("OK");
    w.SpeedButtonNext->Click();
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].text, "Bitmap image is not valid.");
    EXPECT_EQ(Glyph(1)->Hint(), "g0033.bmp"); // filled before the failure
    EXPECT_EQ(Glyph(2)->Hint(), "g0002.bmp"); // the bad file's button as it was
    EXPECT_FALSE(Glyph(1)->Down());           // released before the page fill
    EXPECT_EQ(std::pair(w.FirstShown, w.LastShown), std::pair(1, 32));
    EXPECT_TRUE(w.SpeedButtonNext->isEnabled());
    EXPECT_FALSE(w.SpeedButtonPrevious->isEnabled());
}

} // namespace
