// Kit pieces the dialogs are built from, checked where a fault would show.
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/StockIcons.h"

namespace {

using testsupport::ModalAnswer;

TEST(Kit, ScreenSizeCanBeFixedForTests) {
    platform::SetScreenSize(1024, 768);
    EXPECT_EQ(platform::ScreenWidth(), 1024);
    EXPECT_EQ(platform::ScreenHeight(), 768);
    EXPECT_EQ(platform::ScreenCentre(QSize(301, 200)), QPoint(361, 284));
    platform::ResetScreenSize();
    EXPECT_GT(platform::ScreenWidth(), 0);
}

TEST(Kit, DesignedFacesMapToInstalledFacesAtTheirPixelSizes) {
    EXPECT_EQ(platform::SubstituteFace("arial"), "Liberation Sans");
    EXPECT_EQ(platform::SubstituteFace("Courier New"), "Liberation Mono");
    EXPECT_EQ(platform::SubstituteFace("Tahoma"), "Tahoma");
    const QFont system = platform::DesignFont("System", -13);
    EXPECT_EQ(system.pixelSize(), 13);
    EXPECT_TRUE(system.bold());
    EXPECT_EQ(platform::DefaultFormFont().pixelSize(), 11);
    // A positive height is the whole cell: the text fits in it.
    const QFont cell = platform::DesignFont("Arial", 14);
    EXPECT_LE(QFontMetrics(cell).height(), 14);
    EXPECT_LT(cell.pixelSize(), 14);
}

TEST(Kit, StockIconsAreThirtyTwoPixelsSquare) {
    for (int id : {platform::IDI_HAND, platform::IDI_QUESTION, platform::IDI_EXCLAMATION,
                   platform::IDI_ASTERISK}) {
        const QPixmap icon = platform::LoadStockIcon(id);
        ASSERT_FALSE(icon.isNull()) << id;
        EXPECT_EQ(icon.size(), QSize(32, 32)) << id;
    }
    EXPECT_TRUE(platform::LoadStockIcon(32512).isNull());
}

TEST(Kit, LabelsTreatAmpersandsAsMnemonicsAndSizeToTheirText) {
    TLabel plain, marked, doubled;
    plain.SetCaption("Extract");
    marked.SetCaption("&Extract");
    doubled.SetCaption("A&&B");
    EXPECT_EQ(marked.size(), plain.size());
    EXPECT_EQ(doubled.width(), plain.fontMetrics().horizontalAdvance("A&B"));
    // The marked label underlines its E: same size, different pixels.
    EXPECT_NE(marked.grab().toImage(), plain.grab().toImage());
}

TEST(Kit, FormsGiveCancelForTheCloseBoxAndIgnoreEscapeWithoutAnEscapeButton) {
    TForm form;
    form.SetDialogBorder(200, 100);
    auto* ok = new TBitBtn(&form);
    ok->SetKind(TBitBtnKind::OK);
    form.SetActiveControl(ok);
    ModalAnswer answer;
    answer.Escape().Inspect([](QWidget* dialog) { EXPECT_TRUE(dialog->isVisible()); }).CloseBox();
    EXPECT_EQ(form.exec(), mrCancel);

    auto* cancel = new TButton(&form);
    cancel->SetModalResult(mrAbort);
    cancel->SetCancel(true);
    answer.Escape();
    EXPECT_EQ(form.exec(), mrAbort);
    answer.Enter();
    EXPECT_EQ(form.exec(), mrOk);
    EXPECT_EQ(answer.Pending(), 0u);
}

TEST(Kit, FormsCentredOnTheScreenCountTheirFrameWhenShown) {
    platform::SetScreenSize(1024, 768);
    struct Case {
        TFormPosition position;
        int left, top; // for an outer size of 301 x 201
    };
    for (const Case& c : {Case{TFormPosition::ScreenCenter, (1024 - 301) / 2, (768 - 201) / 2},
                          Case{TFormPosition::ScreenHalves, 512 - 150, 384 - 100}}) {
        TForm form;
        form.SetDialogBorder(297, 197);
        form.SetPosition(c.position);
        form.show();
        const QRect outer = form.frameGeometry();
        ASSERT_EQ(outer.size(), QSize(301, 201)) << "a 2-pixel frame";
        EXPECT_EQ(outer.topLeft(), QPoint(c.left, c.top));
        form.hide();
    }
    TForm designed;
    designed.SetDialogBorder(100, 100);
    designed.move(7, 9);
    designed.show();
    EXPECT_EQ(designed.pos(), QPoint(7, 9));
    platform::ResetScreenSize();
}

TEST(Kit, BitmapButtonKindsCarryTheirCaptionResultAndGlyph) {
    TBitBtn ok, help;
    ok.SetKind(TBitBtnKind::OK);
    help.SetKind(TBitBtnKind::Help);
    EXPECT_EQ(ok.text(), "OK");
    EXPECT_EQ(ok.ModalResult(), mrOk);
    EXPECT_TRUE(ok.isDefault());
    EXPECT_EQ(help.text(), "Help");
    EXPECT_EQ(help.ModalResult(), mrNone);
    EXPECT_FALSE(help.isDefault());

    // The check mark is green, the question mark blue, on a clear ground.
    const QImage check = TBitBtn::KindGlyph(TBitBtnKind::OK).toImage();
    const QImage question = TBitBtn::KindGlyph(TBitBtnKind::Help).toImage();
    EXPECT_EQ(check.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(check.pixelColor(0, 4), QColor(0, 128, 0));
    EXPECT_EQ(question.pixelColor(2, 0), QColor(0, 0, 160));
    EXPECT_TRUE(TBitBtn::KindGlyph(TBitBtnKind::Custom).isNull());
}

} // namespace
