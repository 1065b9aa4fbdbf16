// Pushing and releasing glyphs, and the disabled look of all of them.
#include "MainWindowFixture.h"

#include "platform/ui/PopupMenu.h"

namespace {

TEST_F(MainWindowTest, PushAllPushesTheVisibleGlyphsOnly) {
    WriteGlyphs("prog", 5);
    auto& w = Open();
    w.PushAll1Click(&w);
    EXPECT_EQ(DownCount(), 5);
    for (int n = 1; n <= 5; ++n)
        EXPECT_TRUE(Glyph(n)->Down()) << n;
    EXPECT_FALSE(w.SpeedButtonNext->Down()); // command buttons never stay down
    w.PushAll1Click(&w);
    EXPECT_EQ(DownCount(), 5);
    w.UnpushAll1Click(&w);
    EXPECT_EQ(DownCount(), 0);
    w.UnpushAll1Click(&w);
    EXPECT_EQ(DownCount(), 0);
}

TEST_F(MainWindowTest, EveryPageCommandReleasesAllGlyphs) {
    WriteGlyphs("prog", 40);
    auto& w = Open();
    w.PushAll1Click(&w);
    ASSERT_EQ(DownCount(), 32);
    w.SpeedButtonNext->Click();
    EXPECT_EQ(DownCount(), 0);
    Glyph(3)->SetDown(true);
    w.SpeedButtonPrevious->Click();
    EXPECT_EQ(DownCount(), 0);
    Glyph(30)->SetDown(true);
    w.SpeedButtonFirst->Click(); // even a command that shows the same page
    EXPECT_EQ(DownCount(), 0);
}

TEST_F(MainWindowTest, LeftClicksToggleOneGlyphAndRightClicksOpenTheMenu) {
    WriteGlyphs("prog", 3);
    auto& w = Open();
    w.show();
    ClickAt(Glyph(2), Qt::LeftButton);
    EXPECT_TRUE(Glyph(2)->Down());
    EXPECT_EQ(DownCount(), 1);
    ClickAt(Glyph(3), Qt::LeftButton);
    EXPECT_EQ(DownCount(), 2);
    ClickAt(Glyph(2), Qt::LeftButton);
    EXPECT_FALSE(Glyph(2)->Down());

    EXPECT_TRUE(RightClickOpensMenu(Glyph(3)));
    EXPECT_TRUE(Glyph(3)->Down()); // a right click leaves the state alone
    EXPECT_EQ(w.PopUpMenuGlyphs->HelpContext(), 20);
    EXPECT_FALSE(RightClickOpensMenu(Glyph(10))); // hidden
}

TEST_F(MainWindowTest, DisabledGlyphsStayDisabledThroughPageChanges) {
    WriteGlyphs("prog", 40);
    auto& w = Open();
    w.show();
    Glyph(4)->SetDown(true);
    EXPECT_EQ(w.SpeedButtonDisable->Hint(), "Disable Glyphs");
    w.SpeedButtonDisable->Click();
    EXPECT_EQ(w.SpeedButtonDisable->Hint(), "Enable Glyphs");
    EXPECT_EQ(w.SpeedButtonDisable->Tag(), 1);
    EXPECT_TRUE(Glyph(4)->Down()); // disabling keeps the push state

    // Left clicks push nothing and right clicks open no menu.
    ClickAt(Glyph(1), Qt::LeftButton);
    EXPECT_FALSE(Glyph(1)->Down());
    EXPECT_FALSE(RightClickOpensMenu(Glyph(1)));

    w.SpeedButtonNext->Click();
    w.SpeedButtonPrevious->Click();
    for (int n = 1; n <= 32; ++n)
        EXPECT_FALSE(Glyph(n)->isEnabled()) << n;
    EXPECT_EQ(w.SpeedButtonDisable->Hint(), "Enable Glyphs");

    w.SpeedButtonDisable->Click();
    EXPECT_EQ(w.SpeedButtonDisable->Hint(), "Disable Glyphs");
    EXPECT_EQ(w.SpeedButtonDisable->Tag(), 0);
    for (int n = 1; n <= 32; ++n)
        EXPECT_TRUE(Glyph(n)->isEnabled()) << n;
    EXPECT_TRUE(w.SpeedButtonNext->isEnabled()); // page buttons are not glyphs
}

} // namespace
