#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "messages/QZdialog.h"
#include "platform/ui/Application.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/MulDiv.h"
#include "platform/ui/Screen.h"

namespace {

using platform::MulDiv;
using testsupport::ModalAnswer;

QLineEdit* Edit(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>("Edit");
}

class InputDialogTest : public testing::Test {
protected:
    void TearDown() override {
        platform::CloseHelpViewer();
        platform::Application().SetHelpFile("");
    }
    testsupport::TempDrives drives;
};

TEST_F(InputDialogTest, OpensWithTheWholeValueSelectedInADialogUnitLayout) {
    const QSize c = AverageCharSize(platform::DefaultFormFont());
    const int w = c.width(), h = c.height();
    std::string value = "glyph.bmp";
    ModalAnswer answer;
    answer
        .Inspect([&](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle(), "Rename File");
            EXPECT_EQ(dialog->size(), QSize(MulDiv(190, w, 4), MulDiv(63, h, 8)));
            // Centred by its outer size, frame included.
            const QRect outer = dialog->frameGeometry();
            ASSERT_GT(outer.width(), dialog->width());
            EXPECT_EQ(outer.topLeft(), platform::ScreenCentre(outer.size()));
            QLineEdit* edit = Edit(dialog);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(dialog->focusWidget(), edit);
            EXPECT_EQ(edit->selectedText(), "glyph.bmp");
            EXPECT_EQ(edit->maxLength(), 255);
            EXPECT_EQ(edit->geometry().topLeft(), QPoint(MulDiv(10, w, 4), MulDiv(19, h, 8)));
            EXPECT_EQ(edit->width(), MulDiv(170, w, 4));
            auto* ok = dialog->findChild<QPushButton*>("OK");
            auto* cancel = dialog->findChild<QPushButton*>("Cancel");
            ASSERT_TRUE(ok && cancel);
            EXPECT_EQ(ok->geometry(), QRect(MulDiv(30, w, 4), MulDiv(41, h, 8), MulDiv(50, w, 4),
                                            MulDiv(14, h, 8)));
            EXPECT_EQ(cancel->x(), MulDiv(110, w, 4));
            EXPECT_TRUE(ok->isDefault());
            EXPECT_EQ(dialog->findChild<QPushButton*>("Help"), nullptr);
        })
        .Press("OK");
    EXPECT_TRUE(InputDialog("Rename File", "Enter New Name:", value, 0));
    EXPECT_EQ(value, "glyph.bmp");
    ASSERT_EQ(answer.Seen().size(), 2u);
    EXPECT_EQ(answer.Seen()[0].text, "Enter New Name:");
}

TEST_F(InputDialogTest, OnlyOkReplacesTheValue) {
    struct Case {
        const char* how;
        bool accepted;
    };
    for (const Case& c : {Case{"OK", true}, Case{"Enter", true}, Case{"Cancel", false},
                          Case{"Escape", false}, Case{"Close", false}}) {
        SCOPED_TRACE(c.how);
        std::string value = "M\xE4rz.bmp";
        ModalAnswer answer;
        answer.Inspect([](QWidget* dialog) { Edit(dialog)->setText("Juni \xC3\xA4.bmp"); });
        const std::string how = c.how;
        if (how == "Enter")
            answer.Enter();
        else if (how == "Escape")
            answer.Escape();
        else if (how == "Close")
            answer.CloseBox();
        else
            answer.Press(how);
        EXPECT_EQ(InputDialog("Rename File", "Enter New Name:", value, 0), c.accepted);
        EXPECT_EQ(value, c.accepted ? "Juni \xE4.bmp" : "M\xE4rz.bmp");
        EXPECT_EQ(answer.Pending(), 0u);
    }
}

TEST_F(InputDialogTest, AHelpContextAddsAHelpButtonThatLeavesTheBoxOpen) {
    drives.WriteFile("prog/SporvikU.HLP",
                     "<html><body><a name=\"context-20\"></a>Menu</body></html>");
    platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");
    const int w = AverageCharSize(platform::DefaultFormFont()).width();
    std::string value = "a.bmp";
    ModalAnswer answer;
    answer
        .Inspect([&](QWidget* dialog) {
            EXPECT_EQ(dialog->findChild<QPushButton*>("OK")->x(), MulDiv(10, w, 4));
            EXPECT_EQ(dialog->findChild<QPushButton*>("Cancel")->x(), MulDiv(70, w, 4));
            auto* help = dialog->findChild<TBitBtn*>("Help");
            ASSERT_NE(help, nullptr);
            EXPECT_EQ(help->x(), MulDiv(130, w, 4));
            EXPECT_EQ(help->Kind(), TBitBtnKind::Help);
            EXPECT_EQ(help->text(), "Help");
            EXPECT_FALSE(help->icon().isNull());
        })
        .Press("Help")
        .Inspect([](QWidget* dialog) {
            EXPECT_TRUE(dialog->isVisible());
            ASSERT_NE(platform::HelpViewer(), nullptr);
            EXPECT_EQ(platform::HelpViewer()->Context(), 20);
        })
        .Press("Cancel");
    EXPECT_FALSE(InputDialog("Rename File", "Enter New Name:", value, 20));
    EXPECT_EQ(answer.Pending(), 0u);
}

} // namespace
