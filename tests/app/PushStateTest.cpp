// Pushing and releasing glyphs, and the disabled look of all of them.
#include "MainWindowFixture.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "platform/ui/PopupMenu.h"

namespace {

// Clicks the window where `button` stands, as the mouse would: the press
// goes to whatever widget is there (nothing of the button's when hidden).
void ClickAt(TFormMainWindow& w, TSpeedButton* button, Qt::MouseButton mouse) {
    const QPoint inWindow = button->geometry().center();
    QWidget* target = w.childAt(inWindow);
    if (!target)
        target = &w;
    const QPointF local = target->mapFrom(&w, inWindow);
    const QPointF global = w.mapToGlobal(QPointF(inWindow));
    QMouseEvent down(QEvent::MouseButtonPress, local, global, mouse, mouse, Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, local, global, mouse, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

// Right-clicks a glyph button; true when the glyph menu opened on it (it is
// closed again at once).
bool RightClickOpensMenu(TFormMainWindow& w, TSpeedButton* button) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (QMenu* menu = w.PopUpMenuGlyphs->OpenMenu()) {
            opened = true;
            menu->close();
        }
    });
    w.PopUpMenuGlyphs->SetPopupComponent(nullptr);
    ClickAt(w, button, Qt::RightButton);
    QApplication::processEvents();
    return opened && w.PopUpMenuGlyphs->PopupComponent() == button;
}

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
    ClickAt(w, Glyph(2), Qt::LeftButton);
    EXPECT_TRUE(Glyph(2)->Down());
    EXPECT_EQ(DownCount(), 1);
    ClickAt(w, Glyph(3), Qt::LeftButton);
    EXPECT_EQ(DownCount(), 2);
    ClickAt(w, Glyph(2), Qt::LeftButton);
    EXPECT_FALSE(Glyph(2)->Down());

    EXPECT_TRUE(RightClickOpensMenu(w, Glyph(3)));
    EXPECT_TRUE(Glyph(3)->Down()); // a right click leaves the state alone
    EXPECT_EQ(w.PopUpMenuGlyphs->HelpContext(), 20);
    EXPECT_FALSE(RightClickOpensMenu(w, Glyph(10))); // hidden
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
    ClickAt(w, Glyph(1), Qt::LeftButton);
    EXPECT_FALSE(Glyph(1)->Down());
    EXPECT_FALSE(RightClickOpensMenu(w, Glyph(1)));

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
