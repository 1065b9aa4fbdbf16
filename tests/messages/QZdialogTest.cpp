#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <vector>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "messages/QZdialog.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

using testsupport::ModalAnswer;
using MB = MessageButton;

class MessageDialogTest : public testing::Test {
protected:
    void SetUp() override { platform::SetScreenSize(1024, 768); }
    void TearDown() override {
        platform::ResetScreenSize();
        platform::CloseHelpViewer();
        platform::Application().SetHelpFile("");
    }
    testsupport::TempDrives drives; // program path C:\prog\Sporvik.exe: title "Sporvik"
};

std::vector<QPushButton*> Buttons(QWidget& form) {
    const QList<QPushButton*> buttons = form.findChildren<QPushButton*>();
    return std::vector<QPushButton*>(buttons.begin(), buttons.end());
}

QLabel* Message(QWidget& form) {
    return form.findChild<QLabel*>("Message");
}

TEST(MessageLayout, SevenValuesFromTheAverageCharacter) {
    const MessageLayout six = MessageLayoutFor(QSize(6, 13));
    EXPECT_EQ(six.HorzMargin, 12);
    EXPECT_EQ(six.VertMargin, 13);
    EXPECT_EQ(six.HorzSpacing, 15);
    EXPECT_EQ(six.VertSpacing, 16); // 16.25
    EXPECT_EQ(six.ButtonWidth, 75);
    EXPECT_EQ(six.ButtonHeight, 23); // 22.75
    EXPECT_EQ(six.ButtonSpacing, 6);
    // Halves round up: 17.5 and 87.5.
    const MessageLayout seven = MessageLayoutFor(QSize(7, 16));
    EXPECT_EQ(seven.HorzSpacing, 18);
    EXPECT_EQ(seven.ButtonWidth, 88);
    EXPECT_EQ(seven.ButtonHeight, 28);
}

TEST_F(MessageDialogTest, ButtonRowsOfOneTwoAndThreeAreCentredBelowTheText) {
    const std::vector<std::pair<MessageButtons, std::vector<QString>>> sets = {
        {{MB::OK}, {"OK"}},
        {{MB::Yes, MB::No}, {"Yes", "No"}},
        {MessageButtons::FromBits(131), {"Yes", "No", "All"}},
        {{MB::Help, MB::Abort, MB::Ignore}, {"Abort", "Ignore", "Help"}},
    };
    for (const auto& [set, names] : sets) {
        auto form =
            CreateMessageForm("Replace it?", MessageKind::Confirmation, set, MB::No, true, 0);
        const MessageLayout layout = MessageLayoutFor(AverageCharSize(form->font()));
        const std::vector<QPushButton*> buttons = Buttons(*form);
        ASSERT_EQ(buttons.size(), names.size());
        // One line of text beside the icon: the text area is the icon's 32 pixels.
        const int top = layout.VertMargin + 32 + layout.VertSpacing;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            SCOPED_TRACE(names[i].toStdString());
            EXPECT_EQ(buttons[i]->objectName(), names[i]);
            EXPECT_EQ(buttons[i]->text(), names[i]);
            EXPECT_EQ(buttons[i]->size(), QSize(layout.ButtonWidth, layout.ButtonHeight));
            EXPECT_EQ(buttons[i]->y(), top);
            if (i > 0) {
                EXPECT_EQ(buttons[i]->x(),
                          buttons[i - 1]->x() + layout.ButtonWidth + layout.ButtonSpacing);
            }
        }
        const int left = buttons.front()->x();
        const int right = form->width() - (buttons.back()->x() + layout.ButtonWidth);
        EXPECT_LE(std::abs(left - right), 1) << names.size() << " buttons";
        EXPECT_GE(left, layout.HorzMargin);
        EXPECT_EQ(form->height(), top + layout.ButtonHeight + layout.VertMargin);
        // Tab order is the order of creation.
        for (std::size_t i = 1; i < buttons.size(); ++i)
            EXPECT_EQ(buttons[i - 1]->nextInFocusChain(), buttons[i]);
        // Centred on the screen.
        EXPECT_LE(std::abs(form->x() + form->width() / 2 - 512), 1);
        EXPECT_LE(std::abs(form->y() + form->height() / 2 - 384), 1);
    }
}

TEST_F(MessageDialogTest, TheShownDialogIsCentredByItsOuterSize) {
    platform::SetScreenSize(640, 480);
    for (const std::string text : {"No bitmaps found.", "Error deleting\r\nC:\\a.bmp"}) {
        SCOPED_TRACE(text);
        ModalAnswer answer;
        answer
            .Inspect([](QWidget* dialog) {
                const QRect outer = dialog->frameGeometry();
                // The frame must count, or this would not tell the rules apart.
                ASSERT_GT(outer.width(), dialog->width());
                ASSERT_GT(outer.height(), dialog->height());
                EXPECT_EQ(outer.left(), 640 / 2 - outer.width() / 2);
                EXPECT_EQ(outer.top(), 480 / 2 - outer.height() / 2);
            })
            .Enter();
        EXPECT_EQ(MessageDialog(text, MessageKind::Information, {MB::OK}, MB::OK), mrOk);
        EXPECT_EQ(answer.Pending(), 0u);
    }
}

TEST_F(MessageDialogTest, ThreeButtonsSetTheWidthOfAShortMessage) {
    auto form = CreateMessageForm("Go?", MessageKind::Custom, MessageButtons::FromBits(131), MB::No,
                                  true, 0);
    const MessageLayout layout = MessageLayoutFor(AverageCharSize(form->font()));
    EXPECT_EQ(form->width(),
              3 * layout.ButtonWidth + 2 * layout.ButtonSpacing + 2 * layout.HorzMargin);
    EXPECT_EQ(Buttons(*form).front()->x(), layout.HorzMargin);
}

TEST_F(MessageDialogTest, KindsGiveCaptionAndIconCustomNeverHasOne) {
    struct KindCase {
        MessageKind kind;
        bool showIcon;
        std::string caption;
        bool icon;
    };
    const KindCase cases[] = {
        {MessageKind::Warning, true, "Warning", true},
        {MessageKind::Error, true, "Error", true},
        {MessageKind::Information, true, "Information", true},
        {MessageKind::Confirmation, true, "Confirmation", true},
        {MessageKind::Custom, true, "Sporvik", false},
        {MessageKind::Error, false, "Error", false},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.caption + (c.showIcon ? " with icon" : " without icon"));
        auto form = CreateMessageForm("Text", c.kind, {MB::OK}, MB::OK, c.showIcon, 0);
        const MessageLayout layout = MessageLayoutFor(AverageCharSize(form->font()));
        EXPECT_EQ(form->windowTitle().toStdString(), c.caption);
        auto* image = form->findChild<QLabel*>("Image_QZ1");
        ASSERT_EQ(image != nullptr, c.icon);
        const int textLeft =
            c.icon ? layout.HorzMargin + 32 + layout.HorzSpacing : layout.HorzMargin;
        EXPECT_EQ(Message(*form)->x(), textLeft);
        EXPECT_EQ(Message(*form)->y(), layout.VertMargin);
        if (image) {
            EXPECT_EQ(image->geometry(), QRect(layout.HorzMargin, layout.VertMargin, 32, 32));
            EXPECT_FALSE(image->pixmap().isNull());
        }
    }
}

struct AnswerCase {
    const char* name;
    MessageButtons buttons;
    MessageButton defaultButton;
    std::vector<std::string> answers; // "Enter", "Escape", "Close" or a button
    int expected;
};

TEST_F(MessageDialogTest, EnterEscapeAndTheCloseBoxFollowTheDefaultAndEscapeButtons) {
    const auto outside = static_cast<MessageButton>(9);
    const AnswerCase cases[] = {
        {"YesNo default No, Enter", {MB::Yes, MB::No}, MB::No, {"Enter"}, mrNo},
        {"YesNo default No, Escape", {MB::Yes, MB::No}, MB::No, {"Escape"}, mrNo},
        {"YesNo default No, close box", {MB::Yes, MB::No}, MB::No, {"Close"}, mrCancel},
        {"YesNo no default ignores Escape", {MB::Yes, MB::No}, outside, {"Escape", "Enter"}, mrYes},
        {"AbortIgnore default Ignore, Enter",
         {MB::Abort, MB::Ignore},
         MB::Ignore,
         {"Enter"},
         mrIgnore},
        {"AbortIgnore default Ignore, Escape",
         {MB::Abort, MB::Ignore},
         MB::Ignore,
         {"Escape"},
         mrIgnore},
        {"AbortIgnore, Abort button", {MB::Abort, MB::Ignore}, MB::Ignore, {"Abort"}, mrAbort},
        {"AbortIgnore, close box", {MB::Abort, MB::Ignore}, MB::Ignore, {"Close"}, mrCancel},
        {"OK default outside, Enter", {MB::OK}, outside, {"Enter"}, mrOk},
        {"OK default Cancel, Escape", {MB::OK}, MB::Cancel, {"Escape"}, mrOk},
        {"OK default outside, close box", {MB::OK}, outside, {"Close"}, mrCancel},
        {"YesNoAll default No, All", MessageButtons::FromBits(131), MB::No, {"All"}, mrAll},
        {"no buttons ignore Enter and Escape", {}, MB::OK, {"Enter", "Escape", "Close"}, mrCancel},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModalAnswer answer;
        for (const std::string& a : c.answers) {
            if (a == "Enter")
                answer.Enter();
            else if (a == "Escape")
                answer.Escape();
            else if (a == "Close")
                answer.CloseBox();
            else
                answer.Press(a);
        }
        EXPECT_EQ(MessageDialog("Question", MessageKind::Confirmation, c.buttons, c.defaultButton),
                  c.expected);
        EXPECT_EQ(answer.Pending(), 0u);
        ASSERT_FALSE(answer.Seen().empty());
        EXPECT_EQ(answer.Seen().front().caption, "Confirmation");
        EXPECT_EQ(answer.Seen().front().text, "Question");
    }
}

TEST_F(MessageDialogTest, TheDefaultButtonHasTheFocusElseTheFirstButton) {
    auto withDefault =
        CreateMessageForm("x", MessageKind::Error, {MB::Abort, MB::Ignore}, MB::Ignore, true, 0);
    EXPECT_EQ(withDefault->ActiveControl(), withDefault->findChild<QPushButton*>("Ignore"));
    EXPECT_TRUE(withDefault->findChild<QPushButton*>("Ignore")->isDefault());
    EXPECT_FALSE(withDefault->findChild<QPushButton*>("Abort")->isDefault());
    auto without = CreateMessageForm("x", MessageKind::Error, {MB::Yes, MB::No}, MB::OK, true, 0);
    EXPECT_EQ(without->ActiveControl(), without->findChild<QPushButton*>("Yes"));
    for (QPushButton* b : Buttons(*without))
        EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
}

TEST_F(MessageDialogTest, AmpersandsAreMnemonicsInTheTextAndItsMeasure) {
    const auto widthOf = [](const std::string& text) {
        auto form = CreateMessageForm(text, MessageKind::Custom, {}, MB::OK, false, 0);
        return Message(*form)->width();
    };
    EXPECT_EQ(widthOf("&Glyphs"), widthOf("Glyphs"));
    auto form = CreateMessageForm("A&&B", MessageKind::Custom, {}, MB::OK, false, 0);
    EXPECT_EQ(Message(*form)->width(), QFontMetrics(form->font()).horizontalAdvance("A&B"));
    EXPECT_EQ(Message(*form)->text(), "A&&B");
}

TEST_F(MessageDialogTest, LongTextsWrapAtHalfTheScreenAndALongWordWidensTheDialog) {
    platform::SetScreenSize(640, 480);
    std::string sentence;
    for (int i = 0; i < 30; ++i)
        sentence += "glyph ";
    auto wrapped = CreateMessageForm(sentence, MessageKind::Information, {MB::OK}, MB::OK, true, 0);
    const QFontMetrics metrics(wrapped->font());
    EXPECT_LE(Message(*wrapped)->width(), 320);
    EXPECT_GE(Message(*wrapped)->height(), 3 * metrics.lineSpacing());

    const std::string word(40, 'W');
    auto wide = CreateMessageForm(word, MessageKind::Information, {MB::OK}, MB::OK, true, 0);
    EXPECT_GT(Message(*wide)->width(), 320);
    EXPECT_GE(Message(*wide)->width(), metrics.horizontalAdvance(QString(40, 'W')));
    EXPECT_LT(Message(*wide)->height(), 2 * metrics.lineSpacing());
    EXPECT_GE(wide->width(), Message(*wide)->x() + Message(*wide)->width());

    // "\r\n" breaks the line.
    auto lines = CreateMessageForm("Error deleting\r\nC:\\a.bmp", MessageKind::Custom, {MB::OK},
                                   MB::OK, true, 0);
    EXPECT_GE(Message(*lines)->height(), 2 * metrics.height());
    EXPECT_LT(Message(*lines)->width(), metrics.horizontalAdvance("Error deleting C:\\a.bmp"));
}

// The lines the message label draws, as the program's strings.
std::vector<std::string> DrawnLines(QWidget& form) {
    std::vector<std::string> lines;
    for (const platform::TextLine& line : form.findChild<TLabel*>("Message")->Lines().lines)
        lines.push_back(line.text.toStdString());
    return lines;
}

TEST_F(MessageDialogTest, ALongPathStaysWholeOnItsLineAndWidensTheDialog) {
    platform::SetScreenSize(640, 480);
    const std::string path = "C:\\glyphcollection\\toolbarbuttonslargeset\\arrowleftpushed_x.bmp";
    auto form = CreateMessageForm("Error deleting\r\n" + path, MessageKind::Error, {MB::OK}, MB::OK,
                                  true, 0);
    const QFontMetrics metrics(form->font());
    const MessageLayout layout = MessageLayoutFor(AverageCharSize(form->font()));
    const int pathWidth = metrics.horizontalAdvance(QString::fromStdString(path));
    ASSERT_GT(pathWidth, 320);
    EXPECT_EQ(DrawnLines(*form), (std::vector<std::string>{"Error deleting", path}));
    EXPECT_EQ(Message(*form)->size(), QSize(pathWidth, 2 * metrics.height()));
    EXPECT_EQ(form->width(), Message(*form)->x() + pathWidth + layout.HorzMargin);
}

// Widened only as far as the screen: a path wider than that is cut where
// its lines reach that width, after a backslash, and the dialog stays on the
// screen, its frame included.
TEST_F(MessageDialogTest, APathWiderThanTheScreenIsCutAndTheDialogStaysOnIt) {
    platform::SetScreenSize(640, 480);
    std::string path = "C:";
    while (path.size() < 240)
        path += "\\toolbarbuttons" + std::to_string(path.size());
    auto form = CreateMessageForm("Error deleting\r\n" + path, MessageKind::Error, {MB::OK}, MB::OK,
                                  true, 0);
    const std::vector<std::string> lines = DrawnLines(*form);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Error deleting");
    std::string joined;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        joined += lines[i];
        if (i + 1 < lines.size()) {
            EXPECT_EQ(lines[i].back(), '\\') << lines[i];
        }
    }
    EXPECT_EQ(joined, path);
    EXPECT_LE(form->width() + 16, 640);
    EXPECT_EQ(Message(*form)->height(), int(lines.size()) * QFontMetrics(form->font()).height());
}

TEST_F(MessageDialogTest, AHyphenatedWordIsOneWord) {
    platform::SetScreenSize(640, 480);
    const std::string word =
        "glyph-collection-toolbar-buttons-large-set-arrow-left-pushed-disabled-x.bmp";
    auto form = CreateMessageForm("File " + word + " already exists.", MessageKind::Confirmation,
                                  {MB::Yes, MB::No}, MB::No, true, 0);
    const int wordWidth =
        QFontMetrics(form->font()).horizontalAdvance(QString::fromStdString(word));
    ASSERT_GT(wordWidth, 320);
    EXPECT_EQ(DrawnLines(*form), (std::vector<std::string>{"File", word, "already exists."}));
    EXPECT_EQ(Message(*form)->width(), wordWidth);

    // A hyphenated word that would fit half the screen only in part moves to
    // the next line whole.
    const QFontMetrics metrics(form->font());
    std::string lead = "x";
    while (metrics.horizontalAdvance(QString::fromStdString(lead + " glyph-set")) <= 320)
        lead += 'x';
    ASSERT_LE(metrics.horizontalAdvance(QString::fromStdString(lead + " glyph-")), 320);
    auto broken =
        CreateMessageForm(lead + " glyph-set", MessageKind::Custom, {MB::OK}, MB::OK, false, 0);
    EXPECT_EQ(DrawnLines(*broken), (std::vector<std::string>{lead, "glyph-set"}));
}

TEST_F(MessageDialogTest, FontHeightIgnoresItsSignAndZeroMeansEleven) {
    const auto geometry = [](int fontHeight) {
        auto form = CreateMessageForm("Overwrite the file?", MessageKind::Warning,
                                      {MB::Yes, MB::No}, MB::No, true, fontHeight);
        std::vector<QRect> rects{QRect(form->pos(), form->size())};
        for (QWidget* w : form->findChildren<QWidget*>())
            rects.push_back(w->geometry());
        return rects;
    };
    EXPECT_EQ(geometry(14), geometry(-14));
    EXPECT_EQ(geometry(0), geometry(11));
    EXPECT_NE(geometry(0), geometry(14));
    auto big = CreateMessageForm("x", MessageKind::Warning, {MB::OK}, MB::OK, true, -14);
    EXPECT_EQ(big->font().pixelSize(), 14);
    EXPECT_TRUE(big->font().bold());
}

TEST_F(MessageDialogTest, HelpLeavesTheDialogOpen) {
    drives.WriteFile("prog/SporvikU.HLP",
                     "<html><body><a name=\"context-11\"></a>Extracting</body></html>");
    platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");
    ModalAnswer answer;
    answer.Press("Help")
        .Inspect([](QWidget* dialog) {
            EXPECT_TRUE(dialog->isVisible());
            ASSERT_NE(platform::HelpViewer(), nullptr);
            EXPECT_EQ(platform::HelpViewer()->Context(), 11);
        })
        .Press("Yes");
    EXPECT_EQ(MessageDialog("Extract?", MessageKind::Confirmation, {MB::Yes, MB::No, MB::Help},
                            MB::No, true, 0, 11),
              mrYes);
    EXPECT_EQ(answer.Pending(), 0u);
}

TEST_F(MessageDialogTest, HelpWithoutAHelpFileTellsSoAndTheDialogStaysOpen) {
    platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");
    ModalAnswer answer;
    answer.Press("Help").Press("OK").Escape();
    EXPECT_EQ(MessageDialog("Extract?", MessageKind::Confirmation, {MB::Yes, MB::No, MB::Help},
                            MB::No, true, 0, 11),
              mrNo);
    ASSERT_EQ(answer.Seen().size(), 3u);
    EXPECT_EQ(answer.Seen()[1].text, "The help file C:\\prog\\SporvikU.HLP was not found.");
    EXPECT_EQ(answer.Seen()[2].caption, "Confirmation");
}

} // namespace
