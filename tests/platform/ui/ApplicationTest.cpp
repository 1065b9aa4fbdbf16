#include <QPushButton>
#include <gtest/gtest.h>
#include <stdexcept>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "platform/WinError.h"
#include "platform/ui/Application.h"

namespace {

using testsupport::ModalAnswer;

class ApplicationTest : public testing::Test {
protected:
    void TearDown() override { platform::Application().SetTitle(""); }
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

} // namespace
