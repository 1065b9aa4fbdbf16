#include "ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "platform/Codepage.h"

namespace testsupport {

namespace {

constexpr int kPollMs = 10;
// How long a modal widget may wait without an answer before the test fails.
constexpr int kUnansweredTicks = 3000 / kPollMs;

QString WithoutMnemonics(QString caption) {
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

void SendKey(QWidget* dialog, int key) {
    QPointer<QWidget> target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    if (target) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }
}

} // namespace

ModalAnswer::ModalAnswer() {
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, &ModalAnswer::Poll);
    timer_.start();
}

ModalAnswer::~ModalAnswer() = default;

ModalAnswer& ModalAnswer::Queue(std::string label, std::function<void(QWidget*)> act) {
    answers_.push_back(Step{std::move(label), std::move(act)});
    return *this;
}

ModalAnswer& ModalAnswer::Press(const std::string& button) {
    const QString wanted = platform::ToQt(button);
    return Queue("Press " + button, [wanted, button](QWidget* dialog) {
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
            if (b->objectName() == wanted || WithoutMnemonics(b->text()) == wanted) {
                b->click();
                return;
            }
        }
        ADD_FAILURE() << "no button \"" << button << "\" in the dialog";
        dialog->close();
    });
}

ModalAnswer& ModalAnswer::Enter() {
    return Queue("Enter", [](QWidget* dialog) { SendKey(dialog, Qt::Key_Return); });
}

ModalAnswer& ModalAnswer::Escape() {
    return Queue("Escape", [](QWidget* dialog) { SendKey(dialog, Qt::Key_Escape); });
}

ModalAnswer& ModalAnswer::CloseBox() {
    return Queue("CloseBox", [](QWidget* dialog) { dialog->close(); });
}

ModalAnswer& ModalAnswer::Inspect(std::function<void(QWidget*)> look) {
    return Queue("Inspect", std::move(look));
}

std::string ModalAnswer::DialogText(QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog))
        return platform::FromQt(box->text());
    if (auto* message = dialog->findChild<QLabel*>("Message"))
        return platform::FromQt(message->text());
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            return platform::FromQt(label->text());
    return std::string();
}

void ModalAnswer::Poll() {
    if (starting_)
        return;
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible()) {
        idleTicks_ = 0;
        return;
    }
    if (answers_.empty()) {
        if (++idleTicks_ >= kUnansweredTicks) {
            ADD_FAILURE() << "modal dialog \"" << platform::FromQt(dialog->windowTitle())
                          << "\" was left without an answer";
            idleTicks_ = 0;
            dialog->close();
        }
        return;
    }
    idleTicks_ = 0;
    Step step = std::move(answers_.front());
    answers_.pop_front();
    seen_.push_back(SeenDialog{platform::FromQt(dialog->windowTitle()), DialogText(dialog),
                               step.label, QString::fromLatin1(dialog->metaObject()->className())});
    // The answer runs from the event queue, not from inside this timer slot:
    // a button may open a nested dialog, and a timer whose slot is still
    // running never fires again, so that dialog would wait forever.
    starting_ = true;
    QPointer<QWidget> target = dialog;
    QMetaObject::invokeMethod(
        this,
        [this, target, act = std::move(step.act)] {
            starting_ = false;
            if (target)
                act(target);
        },
        Qt::QueuedConnection);
}

} // namespace testsupport
