// The plain commands of the main window: Help (button and F1), About, Exit.
#include "MainWindowFixture.h"

#include <QApplication>
#include <QKeyEvent>

#include "ModalAnswer.h"
#include "app/Forms.h"
#include "dialogs/Glyph_About.h"
#include "platform/ui/Application.h"
#include "platform/ui/HelpViewer.h"

namespace {

class CommandsTest : public MainWindowTest {
protected:
    CommandsTest() {
        drives_.WriteFile("prog/SporvikU.HLP",
                          "<html><body><a name=\"context-1\"></a>Main window</body></html>");
        platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");
    }
    ~CommandsTest() override {
        platform::CloseHelpViewer();
        platform::Application().SetHelpFile("");
    }
};

TEST_F(CommandsTest, HelpButtonAndF1ShowTopicOne) {
    auto& w = Open();
    w.show();
    w.SpeedButtonHilfe->Click();
    ASSERT_NE(platform::HelpViewer(), nullptr);
    EXPECT_EQ(platform::HelpViewer()->Context(), 1);
    platform::CloseHelpViewer();

    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&w, &f1);
    ASSERT_NE(platform::HelpViewer(), nullptr);
    EXPECT_EQ(platform::HelpViewer()->File(), "C:\\prog\\SporvikU.HLP");
    EXPECT_EQ(platform::HelpViewer()->Context(), 1);
}

TEST_F(CommandsTest, AboutShowsTheAboutBoxAndExitClosesAndSaves) {
    auto& w = Open();
    TFormAbout about(&w);
    FormAbout = &about;
    w.show();
    EXPECT_EQ(w.windowTitle().toStdString(),
              std::string(AboutText[0]) + " " + std::string(AboutText[1]));

    testsupport::ModalAnswer answer;
    answer.Press("OK");
    w.SpeedButtonAbout->Click();
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].className, "TFormAbout");
    FormAbout = nullptr;

    // The program ends with the main window even while help is open.
    w.SpeedButtonHilfe->Click();
    ASSERT_NE(platform::HelpViewer(), nullptr);
    int closed = 0;
    QObject::connect(&w, &TFormMainWindow::Closed, [&closed] { ++closed; });
    w.SpeedButtonExit->Click();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_NE(ReadSettings().find("dir=C:\\prog\\"), std::string::npos);
}

TEST_F(MainWindowTest, CommandButtonsHaveTheirPlacesHintsAndPictures) {
    auto& w = Open();
    struct Case {
        TSpeedButton* button;
        const char* hint;
        int left;
        QSize picture;
        int images;
    } cases[] = {
        {w.SpeedButtonExit, "Exit Sporvik", 13, {32, 16}, 2},
        {w.SpeedButtonFirst, "First Page", 47, {20, 20}, 1},
        {w.SpeedButtonPrevious, "Previous Page", 82, {20, 20}, 1},
        {w.SpeedButtonNext, "Next Page", 116, {20, 20}, 1},
        {w.SpeedButtonLast, "Last Page", 151, {20, 20}, 1},
        {w.SpeedButtonDisable, "Disable Glyphs", 185, {40, 20}, 2},
        {w.SpeedButtonDirectory, "Select Directory Containing Glyphs", 220, {18, 18}, 1},
        {w.SpeedButtonExtract, "Extract Bitmaps from .EXE file", 254, {36, 18}, 2},
        {w.SpeedButtonHilfe, "Help", 289, {32, 16}, 2},
        {w.SpeedButtonAbout, "About the Author", 323, {40, 20}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hint);
        EXPECT_EQ(c.button->Hint(), c.hint);
        EXPECT_EQ(c.button->geometry(), QRect(c.left, 195, 25, 25));
        EXPECT_EQ(c.button->Glyph().size(), c.picture);
        EXPECT_EQ(c.button->NumGlyphs(), c.images);
        EXPECT_EQ(c.button->GroupIndex(), 0);
        EXPECT_EQ(c.button->focusPolicy(), Qt::NoFocus);
    }
}

} // namespace
