#include "platform/ui/Form.h"

#include <QKeyEvent>

#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/FrameCentring.h"
#include "platform/ui/ModalResult.h"
#include "platform/ui/Screen.h"

namespace {

TButton* EscapeButton(QWidget* form) {
    for (TButton* button : form->findChildren<TButton*>())
        if (button->Cancel() && button->isVisibleTo(form) && button->isEnabled())
            return button;
    return nullptr;
}

} // namespace

TForm::TForm(QWidget* parent) : QDialog(parent) {}

void TForm::SetDialogBorder(int clientWidth, int clientHeight) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(clientWidth, clientHeight);
}

void TForm::PlaceOnScreen() {
    PlaceOnScreen(platform::OuterSize(this));
}

void TForm::PlaceOnScreen(QSize outer) {
    switch (position_) {
    case TFormPosition::Designed:
        break;
    case TFormPosition::ScreenCenter:
        move(platform::ScreenCentre(outer));
        break;
    case TFormPosition::ScreenHalves:
        move(platform::ScreenWidth() / 2 - outer.width() / 2,
             platform::ScreenHeight() / 2 - outer.height() / 2);
        break;
    }
}

// Reached through the title bar's close box (and Alt+F4); Escape is handled
// below and never rejects by itself.
void TForm::reject() {
    done(mrCancel);
}

void TForm::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && event->key() == Qt::Key_Escape) {
        if (TButton* button = EscapeButton(this))
            button->click();
        event->accept();
        return;
    }
    if (plain && event->key() == Qt::Key_F1 && helpContext_ != 0) {
        platform::Guarded([this] { platform::Application().HelpContext(helpContext_); });
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen();
    if (position_ != TFormPosition::Designed)
        platform::PlaceAgainWhenFramed(this, [this](QSize outer) { PlaceOnScreen(outer); });
    if (activeControl_)
        activeControl_->setFocus(Qt::ActiveWindowFocusReason);
}
