#pragma once
// TForm: the base of the program's dialogs, giving a QDialog the rules of a
// modal form:
// - closing it through its title bar (close box, Alt+F4) gives mrCancel (2);
// - Escape presses the Escape button (a visible, enabled TButton with Cancel
//   set); a form without one ignores Escape;
// - Enter presses the focused button, else the default button (Qt's own);
// - F1 shows help for the form's help context when it is not 0;
// - the active control gets the focus whenever the form is shown;
// - a form that asks to be centred on the screen is placed each time it is
//   shown, when the window and its frame exist, so the outer size counts.
#include <QDialog>

enum class TFormPosition {
    Designed,     // where the program moved it
    ScreenCenter, // left = (screen width - outer width) div 2, top likewise
    ScreenHalves, // left = screen width div 2 - outer width div 2, top likewise
};

class TForm : public QDialog {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr);

    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }

    QWidget* ActiveControl() const { return activeControl_; }
    void SetActiveControl(QWidget* control) { activeControl_ = control; }

    // Dialog border: fixed client size, a caption bar with a close box and
    // no minimise or maximise box.
    void SetDialogBorder(int clientWidth, int clientHeight);

    TFormPosition Position() const { return position_; }
    void SetPosition(TFormPosition position) { position_ = position; }
    // Moves the form to its position with the outer size it has now; before
    // the window exists that is the client size, and showing corrects it.
    void PlaceOnScreen();
    void PlaceOnScreen(QSize outer);

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int helpContext_ = 0;
    TFormPosition position_ = TFormPosition::Designed;
    QWidget* activeControl_ = nullptr;
};
