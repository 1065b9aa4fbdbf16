// The pop-up menu as the glyph grid uses it: its items owned by the form, the
// chosen command run after the menu has gone, and F1 asking for its help.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

#include "TempDrives.h"
#include "platform/ui/Application.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/PopupMenu.h"

namespace {

// Runs one step on each menu level that is open in turn (the top menu, then
// a sub-menu opened by a step, ...). A menu left open with no step to run is
// closed after a few seconds and fails the test, so nothing hangs.
class PopupDriver {
public:
    explicit PopupDriver(std::deque<std::function<void(QMenu*)>> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(10);
    }
    bool Done() const { return steps_.empty(); }

private:
    void Tick() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || menu == last_)
            return;
        if (steps_.empty()) {
            if (++idleTicks_ > 300) {
                ADD_FAILURE() << "a menu was left open";
                menu->close();
            }
            return;
        }
        last_ = menu;
        auto step = std::move(steps_.front());
        steps_.pop_front();
        step(menu);
    }

    std::deque<std::function<void(QMenu*)>> steps_;
    QTimer timer_;
    QMenu* last_ = nullptr;
    int idleTicks_ = 0;
};

void Key(QMenu* menu, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(menu, &press);
}

QStringList Texts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QString("-") : action->text());
    return texts;
}

// The glyph menu as the main window builds it.
struct GlyphMenu {
    QWidget form;
    TPopupMenu* menu = new TPopupMenu(&form, "PopUpMenuGlyphs");
    std::vector<std::string> ran; // names of the items whose command ran

    TMenuItem* Item(const char* name, const char* caption, TMenuItem* parent = nullptr) {
        auto* item = new TMenuItem(&form, name);
        item->SetCaption(caption);
        parent ? parent->Add(item) : menu->Add(item);
        QObject::connect(item, &TMenuItem::clicked, [this](TMenuItem* sender) {
            // A command runs once the menu is closed.
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            EXPECT_EQ(menu->OpenMenu(), nullptr);
            ran.push_back(sender->objectName().toStdString());
        });
        return item;
    }

    GlyphMenu() {
        menu->SetHelpContext(20);
        TMenuItem* copy = Item("CopyToClipboard1", "Copy to Clipboard");
        Item("AsName1", "As Name", copy);
        Item("AsBitmap1", "As Bitmap", copy);
        Item("Rename1", "Rename");
        TMenuItem* del = Item("Delete1", "Delete");
        Item("ThisGlyph1", "This Glyph", del);
        Item("AllPushed1", "All Pushed", del);
        Item("N1", "-");
        Item("PushAll1", "Push All");
        Item("UnpushAll1", "Pull All");
    }
};

TEST(PopupMenu, ItemsAreTheFormsComponentsAndShowInMenuOrder) {
    GlyphMenu g;
    auto* asBitmap = g.form.findChild<TMenuItem*>("AsBitmap1");
    ASSERT_NE(asBitmap, nullptr);
    EXPECT_EQ(asBitmap->parent(), &g.form);
    EXPECT_EQ(asBitmap->Parent(), g.form.findChild<TMenuItem*>("CopyToClipboard1"));
    EXPECT_EQ(g.form.findChild<TPopupMenu*>("PopUpMenuGlyphs"), g.menu);

    g.form.findChild<TMenuItem*>("Rename1")->SetEnabled(false);
    g.form.findChild<TMenuItem*>("PushAll1")->SetVisible(false);
    QStringList top, sub;
    bool renameEnabled = true;
    PopupDriver driver({[&](QMenu* m) {
        top = Texts(m);
        renameEnabled = m->actions().at(1)->isEnabled();
        sub = Texts(m->actions().at(2)->menu());
        m->close();
    }});
    g.menu->Popup(100, 100);
    EXPECT_EQ(top, QStringList({"Copy to Clipboard", "Rename", "Delete", "-", "Pull All"}));
    EXPECT_EQ(sub, QStringList({"This Glyph", "All Pushed"}));
    EXPECT_FALSE(renameEnabled);
    EXPECT_TRUE(g.ran.empty());
}

TEST(PopupMenu, RunsTheChosenCommandAfterTheMenuHasClosed) {
    GlyphMenu g;
    QWidget button;
    g.menu->SetPopupComponent(&button);
    // Down to "Copy to Clipboard", Right into its sub-menu, Down to "As Bitmap", Enter.
    PopupDriver driver({[](QMenu* m) {
                            Key(m, Qt::Key_Down);
                            Key(m, Qt::Key_Right);
                        },
                        [](QMenu* m) {
                            Key(m, Qt::Key_Down);
                            Key(m, Qt::Key_Return);
                        }});
    g.menu->Popup(50, 60);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(g.ran, std::vector<std::string>{"AsBitmap1"});
    EXPECT_EQ(g.menu->PopupComponent(), &button);

    PopupDriver escape({[](QMenu* m) { Key(m, Qt::Key_Escape); }});
    g.menu->Popup(50, 60);
    EXPECT_EQ(g.ran.size(), 1u) << "Escape runs nothing";
}

TEST(PopupMenu, F1AsksForTheMenusHelpContext) {
    testsupport::TempDrives drives;
    drives.WriteFile("prog/SporvikU.HLP", "<html><body><a name=\"context-20\">Glyph menu</a>"
                                          "</body></html>");
    platform::Application().SetHelpFile("C:\\prog\\SporvikU.HLP");
    GlyphMenu g;
    // F1 in a sub-menu closes the whole menu and runs no command.
    PopupDriver driver({[](QMenu* m) {
                            Key(m, Qt::Key_Down);
                            Key(m, Qt::Key_Right);
                        },
                        [](QMenu* m) { Key(m, Qt::Key_F1); }});
    g.menu->Popup(10, 10);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(g.ran.empty());
    ASSERT_NE(platform::HelpViewer(), nullptr);
    EXPECT_EQ(platform::HelpViewer()->Context(), 20);
    platform::CloseHelpViewer();
    platform::Application().SetHelpFile("");
}

} // namespace
