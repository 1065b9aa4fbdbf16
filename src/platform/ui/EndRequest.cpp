#include "platform/ui/EndRequest.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::array kEndSignals = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may do next to nothing safely; writing a byte to a pipe
// is among the little. The event loop reads the other end.
int endPipe[2] = {-1, -1};

void NoteEndSignal(int signal) {
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(endPipe[1], &byte, 1);
    errno = saved;
}

bool IgnoredFromStart(int signal) {
    struct sigaction current {};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void CatchEndSignals() {
    struct sigaction action {};
    action.sa_handler = NoteEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kEndSignals)
        if (!IgnoredFromStart(signal))
            sigaction(signal, &action, nullptr);
}

void RestoreDefaultActions() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == NoteEndSignal)
            sigaction(signal, &action, nullptr);
    }
}

} // namespace

void CloseWhenAskedToEnd(QWidget* window) {
    // Without a pipe the signals keep their default: the program just ends.
    if (endPipe[0] < 0 && ::pipe2(endPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(endPipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [notifier, window] {
        char bytes[16];
        while (::read(endPipe[0], bytes, sizeof bytes) > 0) {
        }
        notifier->setEnabled(false);
        RestoreDefaultActions();
        window->close();
    });
    CatchEndSignals();
#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, window,
                     [window](QSessionManager&) { window->close(); });
#endif
}

} // namespace platform
