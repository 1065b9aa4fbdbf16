#pragma once
// The pop-up menu and its items.
//
// Items are owned by the form (QObject parent, objectName = the item's name)
// like every other component, and form a tree of their own: the menu's items,
// each with its sub-items. A caption "-" makes an item a separator. The menu
// is built afresh each time it opens, so captions and states changed in
// between show at once.
#include <QObject>
#include <QPoint>
#include <string>
#include <vector>

class QMenu;

class TMenuItem : public QObject {
    Q_OBJECT
public:
    TMenuItem(QObject* owner, const QString& name);

    // Windows-1252; "&" marks the access key as in any menu.
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    bool IsSeparator() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    // Sub-items, in menu order; an item with sub-items opens a sub-menu.
    void Add(TMenuItem* item);
    const std::vector<TMenuItem*>& Items() const { return items_; }
    TMenuItem* Parent() const { return parentItem_; }

    // Runs the item's command as choosing it does.
    void Click() { emit clicked(this); }

signals:
    void clicked(TMenuItem* sender);

private:
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    std::vector<TMenuItem*> items_;
    TMenuItem* parentItem_ = nullptr;
};

class TPopupMenu : public QObject {
    Q_OBJECT
public:
    TPopupMenu(QObject* owner, const QString& name);

    void Add(TMenuItem* item);
    const std::vector<TMenuItem*>& Items() const { return items_; }

    // The component the menu was last opened on; its commands act on it.
    QObject* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(QObject* component) { popupComponent_ = component; }

    // F1 while the menu is open closes it and asks the application's help for
    // this context number.
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }

    // Opens the menu at a screen point and waits until it closes; the chosen
    // item's command runs after the menu has gone.
    void Popup(int x, int y);

    // The menu while it is open (for tests that answer it), else nullptr.
    QMenu* OpenMenu() const { return openMenu_; }

private:
    std::vector<TMenuItem*> items_;
    QObject* popupComponent_ = nullptr;
    int helpContext_ = 0;
    QMenu* openMenu_ = nullptr;
};
