// The plain commands of the main window: Help (button and F1), About, Exit.
#include "MainWindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <set>

#include "ModalAnswer.h"
#include "app/Forms.h"
#include "dialogs/Glyph_About.h"
#include "dialogs/Glyph_Dir.h"
#include "platform/ui/Application.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/PopupMenu.h"

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

// The help tells the user what to click by the text the button or menu item
// shows: a capitalised name after "click" or "press" is one of the main
// window's buttons (by hint), menu items, or the file dialog's buttons as
// they read in the modes the program shows it in.
TEST_F(MainWindowTest, TheHelpNamesButtonsAsTheyRead) {
    auto& w = Open();
    std::set<QString> shown;
    for (const TSpeedButton* b : w.findChildren<TSpeedButton*>())
        shown.insert(QString::fromStdString(b->Hint()));
    for (const TMenuItem* item : w.findChildren<TMenuItem*>())
        shown.insert(QString::fromStdString(item->Caption()));
    TOSDialog dialog(&w);
    for (const int mode : {0, 2}) {
        testsupport::ModalAnswer answer;
        answer.Inspect([&](QWidget* d) {
            for (const QPushButton* b : d->findChildren<QPushButton*>())
                shown.insert(b->text());
        });
        answer.Press("ButtonAbbruch");
        dialog.Execute(mode, "Title", "*.exe", 63, 11, 0);
    }

    QFile file(SPORVIK_HELP_FILE);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll()).simplified();
    static const QRegularExpression named(
        "\\b(?:[Cc]lick|[Pp]ress) (?:<b>([^<]+)</b>|([A-Z][A-Za-z]*))");
    int names = 0;
    for (const auto& match : named.globalMatch(help)) {
        const QString name = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        EXPECT_TRUE(shown.count(name)) << name.toStdString();
        ++names;
    }
    EXPECT_GE(names, 3);
}

} // namespace
