#include "platform/ui/PopupMenu.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <map>

#include "platform/Codepage.h"
#include "platform/ui/Application.h"

namespace {

// A menu level that closes the whole menu on F1 and notes that help was asked.
class HelpAwareMenu : public QMenu {
public:
    explicit HelpAwareMenu(bool* helpAsked, QWidget* parent = nullptr)
        : QMenu(parent), helpAsked_(helpAsked) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
            *helpAsked_ = true;
            // Closing the top level closes every sub-menu with it.
            QMenu* top = this;
            while (auto* above = qobject_cast<QMenu*>(top->parentWidget()))
                top = above;
            top->close();
            return;
        }
        QMenu::keyPressEvent(event);
    }

private:
    bool* helpAsked_;
};

using ActionMap = std::map<QAction*, QPointer<TMenuItem>>;

void FillMenu(QMenu& menu, const std::vector<TMenuItem*>& items, ActionMap& actions,
              bool* helpAsked) {
    for (TMenuItem* item : items) {
        if (!item->Visible())
            continue;
        if (item->IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        if (item->Items().empty()) {
            QAction* action = menu.addAction(platform::ToQt(item->Caption()));
            action->setEnabled(item->Enabled());
            actions[action] = item;
            continue;
        }
        auto* sub = new HelpAwareMenu(helpAsked, &menu);
        sub->setTitle(platform::ToQt(item->Caption()));
        sub->setEnabled(item->Enabled());
        FillMenu(*sub, item->Items(), actions, helpAsked);
        menu.addMenu(sub);
    }
}

} // namespace

TMenuItem::TMenuItem(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

void TMenuItem::Add(TMenuItem* item) {
    items_.push_back(item);
    item->parentItem_ = this;
}

TPopupMenu::TPopupMenu(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

void TPopupMenu::Add(TMenuItem* item) {
    items_.push_back(item);
}

void TPopupMenu::Popup(int x, int y) {
    bool helpAsked = false;
    ActionMap actions;
    HelpAwareMenu menu(&helpAsked);
    FillMenu(menu, items_, actions, &helpAsked);
    openMenu_ = &menu;
    QAction* chosen = menu.exec(QPoint(x, y));
    openMenu_ = nullptr;
    if (helpAsked) {
        platform::Application().HelpContext(helpContext_);
        return;
    }
    const auto it = actions.find(chosen);
    if (it != actions.end() && it->second)
        it->second->Click();
}
