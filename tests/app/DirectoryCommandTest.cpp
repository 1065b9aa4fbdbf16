// The directory command: the file selection dialog in directory mode, then
// the chosen directory's glyphs.
#include "MainWindowFixture.h"

#include <QListWidget>

#include "ModalAnswer.h"
#include "app/Forms.h"
#include "dialogs/Glyph_Dir.h"
#include "platform/ui/DirectoryListBox.h"

namespace {

class DirectoryCommandTest : public MainWindowTest {
protected:
    ~DirectoryCommandTest() override { OSDialog = nullptr; }

    // Opens the window on C:\glyphs with the dialog created as at start-up.
    TFormMainWindow& Start() {
        WriteGlyphs("glyphs", 3);
        WriteGlyphs("glyphs/more", 2);
        WriteSettings("[options]\r\ndir=C:\\glyphs\\\r\n");
        auto& w = Open();
        dialog = std::make_unique<TOSDialog>(&w);
        OSDialog = dialog.get();
        OSDialog->SetStartDirectory(CurrentDir());
        w.show();
        return w;
    }
    void DoubleClickDirectory(const QString& name) {
        QListWidget* dirs = dialog->DirectoryListBox1;
        const auto found = dirs->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        emit dirs->itemDoubleClicked(found.front());
    }

    std::unique_ptr<TOSDialog> dialog;
};

TEST_F(DirectoryCommandTest, ChoosingADirectoryShowsItsGlyphsWithNothingPushed) {
    auto& w = Start();
    EXPECT_EQ(ShownHints().size(), 3u);
    Glyph(1)->SetDown(true);

    testsupport::ModalAnswer answer;
    answer.Inspect([this](QWidget*) {
        EXPECT_EQ(dialog->windowTitle(), "Select Directory");
        EXPECT_EQ(dialog->DirectoryListBox1->Directory(), "C:\\glyphs");
        DoubleClickDirectory("more");
    });
    answer.Press("ButtonOK");
    w.SpeedButtonDirectory->Click();
    EXPECT_EQ(CurrentDir(), "C:\\glyphs\\more\\");
    EXPECT_EQ(ShownHints(), (std::vector<std::string>{"g0001.bmp", "g0002.bmp"}));
    EXPECT_EQ(DownCount(), 0);

    // Cancel leaves the window as it was.
    answer.Inspect([this](QWidget*) { DoubleClickDirectory("c:\\"); });
    answer.Press("ButtonAbbruch");
    w.SpeedButtonDirectory->Click();
    EXPECT_EQ(CurrentDir(), "C:\\glyphs\\more\\");
    EXPECT_EQ(ShownHints().size(), 2u);
}

} // namespace
