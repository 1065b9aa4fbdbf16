#include <QPushButton>
#include <gtest/gtest.h>
#include <stdexcept>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "platform/WinError.h"
#include "platform/ui/Application.h"
#include "platform/ui/HelpViewer.h"

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

} // namespace
