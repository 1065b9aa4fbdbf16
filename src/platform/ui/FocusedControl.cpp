#include "platform/ui/FocusedControl.h"

#include <QApplication>
#include <QWidget>

#include "platform/Codepage.h"

namespace {

// Qt builds some controls from inner widgets of its own (the edit inside an
// editable combo box, a list's viewport); those carry no name of ours or a
// "qt_" one, and stand for the control around them.
bool IsOwnControl(const QWidget* w) {
    const QString name = w->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

} // namespace

std::string FocusedControlName() {
    const QWidget* form = QApplication::activeWindow();
    const QWidget* focus = QApplication::focusWidget();
    if (!form || !focus || focus->window() != form)
        return {};
    for (const QWidget* w = focus; w && w != form; w = w->parentWidget())
        if (IsOwnControl(w))
            return platform::FromQt(w->objectName());
    return {};
}
