#include <QLabel>
#include <gtest/gtest.h>

#include "ModalAnswer.h"
#include "dialogs/Glyph_About.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"

namespace {

using testsupport::ModalAnswer;

std::vector<std::string> Texts(QWidget* dialog) {
    std::vector<std::string> texts;
    for (const char* name : {"Label1", "Label6", "Label2", "Label3", "Label4", "Label5"})
        texts.push_back(dialog->findChild<TLabel*>(name)->Caption());
    return texts;
}

TEST(FormAbout, HasItsDesignedLayoutAndTexts) {
    TFormAbout form;
    EXPECT_EQ(form.windowTitle(), "About");
    EXPECT_EQ(form.size(), QSize(298, 224));
    EXPECT_EQ(form.Panel1->geometry(), QRect(8, 8, 281, 158));
    EXPECT_EQ(form.Panel1->BevelOuter(), TPanelBevel::Lowered);
    EXPECT_EQ(form.Panel1->BevelInner(), TPanelBevel::Raised);
    EXPECT_EQ(form.AboutIcon->geometry(), QRect(122, 16, 37, 37));
    EXPECT_TRUE(form.AboutIcon->hasScaledContents());
    EXPECT_EQ(form.OKButton->geometry(), QRect(110, 180, 77, 27));
    EXPECT_EQ(form.OKButton->Kind(), TBitBtnKind::OK);
    EXPECT_EQ(form.ActiveControl(), form.OKButton);

    const std::vector<std::string> expected = {"Sporvik 1.2",
                                               "Glyph viewer and extractor",
                                               std::string(AboutText[1]),
                                               std::string(AboutText[2]),
                                               std::string(AboutText[3]),
                                               std::string(AboutText[4])};
    EXPECT_EQ(Texts(&form), expected);
    int top = 55;
    for (const char* name : {"Label1", "Label6", "Label2", "Label3", "Label4", "Label5"}) {
        auto* label = form.findChild<TLabel*>(name);
        EXPECT_EQ(label->parentWidget(), form.Panel1) << name;
        EXPECT_EQ(label->pos(), QPoint(18, top)) << name;
        // Sized to its text, and the text stays inside the panel.
        EXPECT_EQ(label->size(), label->TextExtent()) << name;
        EXPECT_LE(label->x() + label->width(), form.Panel1->width() - 2) << name;
        top += 15;
    }
}

TEST(FormAbout, ThePictureIsEighteenBySeventeenInSixteenColours) {
    const QImage picture = TFormAbout::Picture();
    EXPECT_EQ(picture.size(), QSize(18, 17));
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(picture.colorCount(), 16);
}

TEST(FormAbout, KeepsItsTextsOverTwoShowingsAndIgnoresEscape) {
    TFormAbout form;
    std::vector<std::string> first, second;
    ModalAnswer answer;
    answer.Inspect([&](QWidget* dialog) { first = Texts(dialog); })
        .Escape()
        .Inspect([](QWidget* dialog) { EXPECT_TRUE(dialog->isVisible()); })
        .Enter();
    EXPECT_EQ(form.exec(), 1);
    answer.Inspect([&](QWidget* dialog) { second = Texts(dialog); }).CloseBox();
    EXPECT_EQ(form.exec(), 2);
    EXPECT_EQ(answer.Pending(), 0u);
    EXPECT_EQ(first[0], "Sporvik 1.2");
    EXPECT_EQ(second, first);
}

} // namespace
