#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolTip>
#include <gtest/gtest.h>
#include <stdexcept>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "platform/WinError.h"
#include "platform/ui/Application.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/SpeedButton.h"
#include "platform/ui/SysColors.h"

namespace {

using testsupport::ModalAnswer;

class ApplicationTest : public testing::Test {
protected:
    void TearDown() override {
        platform::Application().SetTitle("");
        platform::Application().SetHelpFile("");
        platform::CloseHelpViewer();
    }
    testsupport::TempDrives drives;
};

TEST_F(ApplicationTest, TitleIsTheProgramFileNameUnlessSet) {
    EXPECT_EQ(platform::Application().Title(), "Sporvik");
    platform::Application().SetTitle("Glyphs");
    EXPECT_EQ(platform::Application().Title(), "Glyphs");
}

TEST_F(ApplicationTest, AFailureInAHandlerIsReportedWithATrailingPeriod) {
    ModalAnswer answer;
    answer.Press("OK").Press("OK").Press("OK");
    bool after = false;
    platform::Guarded([] { throw std::runtime_error("Bitmap ist ung\xFCltig"); });
    platform::Guarded([] { throw std::runtime_error("Already a sentence."); });
    platform::Guarded([] { throw 42; });
    after = true;

    ASSERT_EQ(answer.Seen().size(), 3u);
    EXPECT_EQ(answer.Seen()[0].caption, "Sporvik");
    EXPECT_EQ(answer.Seen()[0].text, "Bitmap ist ung\xFCltig.");
    EXPECT_EQ(answer.Seen()[0].className, "QMessageBox");
    EXPECT_EQ(answer.Seen()[1].text, "Already a sentence.");
    EXPECT_EQ(answer.Seen()[2].text, "Unknown failure.");
    EXPECT_TRUE(after);
}

TEST_F(ApplicationTest, AFailureRaisedInsideASlotStopsAtTheGuard) {
    platform::Application().SetTitle("Glyphs");
    struct Form {
        void ButtonClick() { throw platform::EInOutError(5); }
    } form;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, &button,
                     platform::GuardedCall(&form, &Form::ButtonClick));
    ModalAnswer answer;
    answer.Enter();
    button.click(); // would end the test program if the failure crossed Qt
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].caption, "Glyphs");
    EXPECT_EQ(answer.Seen()[0].text, TApplication::ReportText(platform::EInOutError(5).what()));
}

TEST_F(ApplicationTest, HelpWithoutAHelpFileTellsTheUserAndOpensNothing) {
    drives.WriteFile("prog/SporvikU.HLP", "<html><body>Help</body></html>");
    ModalAnswer answer;
    answer.Press("OK");
    EXPECT_FALSE(platform::Application().HelpContext(1));
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].caption, "Sporvik");
    EXPECT_EQ(answer.Seen()[0].text, "Help is not available: no help file is set.");
    EXPECT_EQ(platform::HelpViewer(), nullptr);

    // Once set, the same call opens the viewer without a word.
    platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");
    EXPECT_TRUE(platform::Application().HelpContext(1));
    EXPECT_NE(platform::HelpViewer(), nullptr);
    EXPECT_EQ(answer.Seen().size(), 1u);
}

// A dark desktop scheme, as a theme sets it for the application and for
// single kinds of widget, gives way to the classic one everywhere.
TEST_F(ApplicationTest, TheClassicLookHoldsWhateverTheDesktopsScheme) {
    QPalette dark(QColor(40, 40, 40), QColor(30, 30, 30));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    for (const char* kind : {"QLineEdit", "QAbstractItemView", "QMenu", "QAbstractButton"})
        QApplication::setPalette(dark, kind);
    QToolTip::setPalette(dark);
    platform::UseClassicLook();

    using platform::GetSysColor;
    const QColor face = GetSysColor(platform::COLOR_BTNFACE);
    const QColor window = GetSysColor(platform::COLOR_WINDOW);
    const QColor grey = GetSysColor(platform::COLOR_GRAYTEXT);
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    auto* disabled = new QLineEdit(&dialog);
    disabled->setEnabled(false);
    const QWidget* widgets[] = {&dialog,
                                edit,
                                new QListWidget(&dialog),
                                new QComboBox(&dialog),
                                new QPushButton(&dialog),
                                new TSpeedButton(&dialog)};
    QMenu menu;
    for (const QWidget* w : widgets) {
        SCOPED_TRACE(w->metaObject()->className());
        EXPECT_EQ(w->palette().color(QPalette::Window), face);
        EXPECT_EQ(w->palette().color(QPalette::Button), face);
        EXPECT_EQ(w->palette().color(QPalette::Base), window);
        EXPECT_EQ(w->palette().color(QPalette::Text), Qt::black);
    }
    EXPECT_EQ(menu.palette().color(QPalette::Window), face);
    EXPECT_EQ(disabled->palette().color(QPalette::Disabled, QPalette::Text), grey);
    EXPECT_EQ(disabled->palette().color(QPalette::Disabled, QPalette::Base), face);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase),
              GetSysColor(platform::COLOR_INFOBK));
    dialog.resize(100, 100);
    edit->setGeometry(10, 10, 60, 20);
    edit->raise();
    const QImage shown = dialog.grab().toImage();
    EXPECT_EQ(shown.pixelColor(90, 90), face);
    EXPECT_EQ(shown.pixelColor(40, 20), window);
}

} // namespace
