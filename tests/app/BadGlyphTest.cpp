// A glyph file that cannot be loaded ends the command at that file and goes
// to the standard failure report; what was done before it stays done.
#include "MainWindowFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <filesystem>

#include "ModalAnswer.h"
#include "platform/ui/Application.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/PopupMenu.h"
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
    EXPECT_EQ(CurrentDir(), "C:\\prog\\");
    EXPECT_EQ(w.Pages().GlyphCount(), 4);
    EXPECT_EQ(w.LabelAnzahl->Caption(), "4 Glyph(s)");
    // Buttons before the bad file are filled, its own is untouched and the
    // ones after it are not hidden.
    EXPECT_EQ(Glyph(1)->Hint(), "a.bmp");
    EXPECT_EQ(Glyph(2)->Hint(), "b.bmp");
    EXPECT_EQ(Glyph(3)->Hint(), "");
    EXPECT_TRUE(Glyph(3)->Glyph().isNull());
    EXPECT_FALSE(Glyph(32)->isHidden());
    // Page fields and buttons keep their values from before; the bar stays.
    EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(0, 0));
    EXPECT_TRUE(w.SpeedButtonNext->isEnabled());
    EXPECT_EQ(w.ProgressBar1->Position(), 30);
}

TEST_F(MainWindowTest, ABadGlyphOnTheNextPageLeavesTheShownPageCurrent) {
    WriteGlyphs("prog", 33);
    drives_.WriteFile("prog/g0034.bmp", "BMnot really a bitmap");
    auto& w = Open();
    ASSERT_EQ(w.Pages().GlyphCount(), 34);
    Glyph(1)->SetDown(true);

    testsupport::ModalAnswer answer;
    answer.Press("OK");
    w.SpeedButtonNext->Click();
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].text, "Bitmap image is not valid.");
    EXPECT_EQ(Glyph(1)->Hint(), "g0033.bmp"); // filled before the failure
    EXPECT_EQ(Glyph(2)->Hint(), "g0002.bmp"); // the bad file's button as it was
    EXPECT_FALSE(Glyph(1)->Down());           // released before the page fill
    EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(1, 32));
    EXPECT_TRUE(w.SpeedButtonNext->isEnabled());
    EXPECT_FALSE(w.SpeedButtonPrevious->isEnabled());
}

// A fill that stops at a bad file in another folder leaves the buttons after
// it showing the old folder's pictures; none of them may act on a file of
// the new folder that happens to have the same name.
TEST_F(MainWindowTest, ButtonsAFailedFillDidNotReachRunNoFileCommand) {
    WriteGlyphs("prog", 5);
    WriteBmp("new/a.bmp");
    drives_.WriteFile("new/b.bmp", "BMnot really a bitmap");
    WriteBmp("new/g0004.bmp");
    auto& w = Open();
    {
        testsupport::ModalAnswer answer;
        answer.Press("OK");
        platform::Guarded([&] { w.LoadDirectory("C:\\new\\"); }); // as a command runs it
        ASSERT_EQ(answer.Seen().size(), 1u);
    }
    ASSERT_EQ(ShownHints(), (std::vector<std::string>{"a.bmp", "g0002.bmp", "g0003.bmp",
                                                      "g0004.bmp", "g0005.bmp"}));
    EXPECT_TRUE(RightClickOpensMenu(Glyph(1)));
    for (int stale : {2, 4})
        EXPECT_FALSE(RightClickOpensMenu(Glyph(stale))) << stale;

    // Even reached another way, the commands leave the old pictures alone.
    platform::SetClipboardText("before");
    testsupport::ModalAnswer none;
    for (TMenuItem* command : {w.AsName1, w.ThisGlyph1, w.Rename1}) {
        w.PopUpMenuGlyphs->SetPopupComponent(Glyph(4));
        command->Click();
    }
    EXPECT_TRUE(none.Seen().empty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
    EXPECT_TRUE(std::filesystem::exists(drives_.Host("new/g0004.bmp")));

    // All Pushed counts only the glyph the fill showed.
    w.PushAll1Click(&w);
    testsupport::ModalAnswer no;
    no.Press("No");
    w.AllPushed1Click(&w);
    ASSERT_EQ(no.Seen().size(), 1u);
    EXPECT_EQ(no.Seen()[0].text, "Really delete 1 glyph(s)");
}

} // namespace
