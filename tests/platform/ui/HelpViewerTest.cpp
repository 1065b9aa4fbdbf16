#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QWindow>
#include <filesystem>
#include <gtest/gtest.h>

#include "ModalAnswer.h"
#include "TempDrives.h"
#include "platform/ui/Application.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/Screen.h"

namespace fs = std::filesystem;

namespace {

using testsupport::ModalAnswer;

// A help file long enough that every topic starts further down.
std::string LongHelpFile() {
    std::string html = "<html><head><title>Test Help</title></head><body>";
    for (int context : {1, 11, 20}) {
        html += "<h2><a name=\"context-" + std::to_string(context) + "\"></a>Topic " +
                std::to_string(context) + "</h2>";
        for (int i = 0; i < 60; ++i)
            html +=
                "<p>Line " + std::to_string(i) + " of topic " + std::to_string(context) + ".</p>";
    }
    return html + "</body></html>";
}

class HelpViewerTest : public testing::Test {
protected:
    void TearDown() override {
        platform::CloseHelpViewer();
        platform::Application().SetHelpFile("");
    }
    int ScrollPosition() const {
        return platform::HelpViewer()->Browser()->verticalScrollBar()->value();
    }
    testsupport::TempDrives drives;
};

TEST_F(HelpViewerTest, OpensTheFileAtTheTopicOfTheContextNumber) {
    drives.WriteFile("prog/SporvikU.HLP", LongHelpFile());
    platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");

    ASSERT_TRUE(platform::Application().HelpContext(11));
    THelpViewer* viewer = platform::HelpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->File(), "C:\\prog\\SporvikU.HLP");
    EXPECT_EQ(viewer->Context(), 11);
    EXPECT_EQ(viewer->windowTitle(), "Test Help");
    const int at11 = ScrollPosition();

    // The same window shows the next topic.
    ASSERT_TRUE(platform::Application().HelpContext(20));
    EXPECT_EQ(platform::HelpViewer(), viewer);
    EXPECT_EQ(viewer->Context(), 20);
    const int at20 = ScrollPosition();
    ASSERT_TRUE(platform::Application().HelpContext(1));
    const int at1 = ScrollPosition();
    EXPECT_LT(at1, at11);
    EXPECT_LT(at11, at20);

    // A context the file does not know, and 0, show the start of the file.
    ASSERT_TRUE(platform::Application().HelpContext(999));
    EXPECT_EQ(ScrollPosition(), 0);
}

// The block that carries a topic's anchor: its heading.
QTextBlock HeadingOf(const QTextDocument* doc, const QString& anchor) {
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return block;
    return {};
}

TEST_F(HelpViewerTest, EveryTopicsHeadingComesToTheTopTheLastOneToo) {
    QFile shipped(QCoreApplication::applicationDirPath() + "/SporvikU.HLP");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    drives.WriteFile("prog/SporvikU.HLP", shipped.readAll().toStdString());
    platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");
    for (int context : {1, 11, 20, 1}) {
        ASSERT_TRUE(platform::Application().HelpContext(context));
        QTextBrowser* browser = platform::HelpViewer()->Browser();
        const QTextBlock heading = HeadingOf(browser->document(), platform::HelpAnchor(context));
        ASSERT_TRUE(heading.isValid()) << context;
        const QTextBlock top = browser->cursorForPosition(QPoint(10, 2)).block();
        EXPECT_EQ(top.text(), heading.text()) << "topic " << context;
    }
}

TEST_F(HelpViewerTest, TheViewerOpensBesideTheWindowThatAsked) {
    drives.WriteFile("prog/SporvikU.HLP", LongHelpFile());
    platform::SetScreenSize(1280, 1024);
    const struct {
        int left;
        bool toTheRight;
    } cases[] = {{40, true}, {900, false}};
    for (const auto& c : cases) {
        QWidget main;
        main.setGeometry(c.left, 60, 364, 300);
        main.show();
        main.activateWindow();
        QApplication::setActiveWindow(&main);
        ASSERT_TRUE(
            platform::ShowHelpTopic("C:\\prog\\SporvikU.HLP", 1, platform::Application().Title()));
        const QRect viewer = platform::HelpViewer()->frameGeometry();
        const QRect owner = main.frameGeometry();
        EXPECT_FALSE(viewer.intersects(owner)) << c.left;
        EXPECT_EQ(viewer.left() > owner.left(), c.toTheRight) << c.left;
        EXPECT_LE(viewer.right(), 1280) << c.left;
        platform::CloseHelpViewer();
    }
    platform::ResetScreenSize();
}

TEST_F(HelpViewerTest, AMissingOrUnreadableFileIsNamedInAMessage) {
    platform::Application().SetTitle("");
    ModalAnswer answer;
    answer.Press("OK").Press("OK");
    EXPECT_FALSE(
        platform::ShowHelpTopic("C:\\prog\\SporvikU.HLP", 1, platform::Application().Title()));
    const fs::path file = drives.WriteFile("prog/Locked.HLP", "<html></html>");
    fs::permissions(file, fs::perms::owner_read, fs::perm_options::remove);
    EXPECT_FALSE(
        platform::ShowHelpTopic("C:\\prog\\Locked.HLP", 1, platform::Application().Title()));

    ASSERT_EQ(answer.Seen().size(), 2u);
    EXPECT_EQ(answer.Seen()[0].text, "The help file C:\\prog\\SporvikU.HLP was not found.");
    EXPECT_EQ(answer.Seen()[1].text, "The help file C:\\prog\\Locked.HLP cannot be read.");
    EXPECT_EQ(answer.Seen()[0].caption, "Sporvik");
    EXPECT_EQ(platform::HelpViewer(), nullptr);
}

TEST_F(HelpViewerTest, TheProgramsHelpFileHasTheTopicsTheProgramAsksFor) {
    QFile shipped(QCoreApplication::applicationDirPath() + "/SporvikU.HLP");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << "SporvikU.HLP beside the tests";
    const QByteArray html = shipped.readAll();
    drives.WriteFile("prog/SporvikU.HLP", html.toStdString());
    platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");

    int previous = -1;
    for (int context : {1, 11, 20}) {
        EXPECT_TRUE(html.contains("name=\"" + platform::HelpAnchor(context).toLatin1() + "\""))
            << "topic " << context;
        ASSERT_TRUE(platform::Application().HelpContext(context));
        EXPECT_GT(ScrollPosition(), previous) << "topic " << context;
        previous = ScrollPosition();
    }
}

} // namespace

namespace {

// Follows the blocked and unblocked notices a window gets from modal dialogs.
class BlockedState : public QObject {
public:
    bool blocked = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowBlocked)
            blocked = true;
        else if (event->type() == QEvent::WindowUnblocked)
            blocked = false;
        return false;
    }
};

TEST_F(HelpViewerTest, OpenedFromAModalDialogTheViewerIsNotBlockedByIt) {
    drives.WriteFile("prog/SporvikU.HLP", LongHelpFile());
    ASSERT_TRUE(
        platform::ShowHelpTopic("C:\\prog\\SporvikU.HLP", 1, platform::Application().Title()));
    BlockedState state;
    platform::HelpViewer()->windowHandle()->installEventFilter(&state);

    QDialog modal;
    bool blockedBeforeHelp = false;
    ModalAnswer answer;
    answer
        .Inspect([&](QWidget*) {
            blockedBeforeHelp = state.blocked;
            ASSERT_TRUE(platform::ShowHelpTopic("C:\\prog\\SporvikU.HLP", 20,
                                                platform::Application().Title()));
            EXPECT_FALSE(state.blocked);
        })
        .CloseBox();
    modal.exec();
    // The dialog did block the viewer until help was asked for from it.
    EXPECT_TRUE(blockedBeforeHelp);
}

} // namespace
