#pragma once
// A push button with a modal result: clicking it ends its dialog with that
// result (0 closes nothing). `Default` is QPushButton's own: Enter presses it.
// `Cancel` makes it the dialog's Escape button (see TForm).
#include <QPushButton>
#include <string_view>

#include "platform/ui/ModalResult.h"

class TButton : public QPushButton {
    Q_OBJECT
public:
    explicit TButton(QWidget* parent = nullptr);

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }

    // Caption from Windows-1252 text; "&" marks the mnemonic, "&&" shows one.
    void SetCaption(std::string_view caption);

protected:
    // What a click does; the base ends the dialog with the modal result.
    virtual void Click();
    // The default button (the one Enter presses now) wears a black frame
    // around its bevel, so the user can see what Enter will do.
    void paintEvent(QPaintEvent* event) override;

private:
    int modalResult_ = mrNone;
    bool cancel_ = false;
};
