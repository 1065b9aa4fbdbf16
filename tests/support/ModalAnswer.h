#pragma once
// Answers the modal dialogs a test brings up, so tests drive the real
// dialogs and never a mock of them.
//
//   testsupport::ModalAnswer answer;
//   answer.Press("No");                       // queue one answer per step
//   int result = MessageDialog(...);          // the dialog runs and is answered
//   EXPECT_EQ(answer.Seen().at(0).caption, "Confirmation");
//
// While the object lives it looks at QApplication::activeModalWidget() every
// few milliseconds and applies the next queued answer to whatever modal
// widget is active then. Each answer is applied once; an answer that leaves
// the dialog open (Escape on a dialog without an Escape button, Help) lets
// the next one go to the same dialog. Answers run in the order queued, so a
// nested dialog (a message box opened by a button) is answered in turn.
//
// A modal widget with no answer left is closed through its title bar after
// a few seconds and the test fails, so a forgotten answer never hangs.
// Texts are recorded as the program's Windows-1252 strings.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace testsupport {

class ModalAnswer : public QObject {
    Q_OBJECT
public:
    // What a dialog looked like when an answer was applied to it.
    struct SeenDialog {
        std::string caption; // window title
        std::string text;    // a message box's text, the label named "Message",
                             // else the first label's text (empty without one)
        std::string answer;  // what was done, e.g. "Press No", "Escape"
        QString className;   // e.g. "TMessageForm", "QMessageBox"
    };

    ModalAnswer();
    ~ModalAnswer() override;

    // Clicks the button whose objectName or caption (ampersands dropped)
    // equals `button`. No such button fails the test and closes the dialog.
    ModalAnswer& Press(const std::string& button);
    // Sends Enter or Escape to the dialog's focused control (else the dialog).
    ModalAnswer& Enter();
    ModalAnswer& Escape();
    // Closes the dialog through its title bar (a close event).
    ModalAnswer& CloseBox();
    // Runs `look` on the live dialog (to check its layout or state) and
    // leaves it open for the next answer.
    ModalAnswer& Inspect(std::function<void(QWidget* dialog)> look);

    const std::vector<SeenDialog>& Seen() const { return seen_; }
    // Answers queued but not applied yet.
    std::size_t Pending() const { return answers_.size(); }

    // The text a dialog shows, by the rule of SeenDialog::text.
    static std::string DialogText(QWidget* dialog);

private:
    struct Step {
        std::string label;
        std::function<void(QWidget*)> act;
    };
    ModalAnswer& Queue(std::string label, std::function<void(QWidget*)> act);
    void Poll();

    std::deque<Step> answers_;
    std::vector<SeenDialog> seen_;
    QTimer timer_;
    int idleTicks_ = 0;
    bool starting_ = false; // an answer is queued to run and has not begun
};

} // namespace testsupport
