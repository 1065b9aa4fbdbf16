#pragma once
// A main window over a temp drive C:, with the program in C:\prog and the
// screen at a known size. Glyph files are drawn as real .bmp files.
#include <QImage>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "TempDrives.h"
#include "app/Glyph_MW.h"
#include "platform/ui/SpeedButton.h"

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    // A w x h bitmap at C:\<relative> whose bottom-left pixel is olive.
    void WriteBmp(const std::string& relative, int w = 16, int h = 16) const;
    // count glyphs named g001.bmp ... under C:\<dir>, listed in that order.
    void WriteGlyphs(const std::string& dir, int count) const;
    // C:\prog\Sporvik.ini with these bytes.
    void WriteSettings(const std::string& text) const;
    std::string ReadSettings() const;

    TFormMainWindow& Open(const std::string& startDirectory = {});

    // Hints of the glyph buttons that are not hidden, in button order.
    std::vector<std::string> ShownHints() const;
    int DownCount() const;
    // Clicks the window where `button` stands, as the mouse would: the press
    // goes to whatever widget is there (nothing of the button's when hidden).
    void ClickAt(TSpeedButton* button, Qt::MouseButton mouse) const;
    // Right-clicks a glyph button; true when the glyph menu opened on it (it
    // is closed again at once).
    bool RightClickOpensMenu(TSpeedButton* button) const;
    TSpeedButton* Glyph(int n) const { return window_->GlyphButton(n); }
    // The directory the window shows.
    const std::string& CurrentDir() const { return window_->Pages().CurrentDir(); }

    testsupport::TempDrives drives_;
    std::unique_ptr<TFormMainWindow> window_;
};
