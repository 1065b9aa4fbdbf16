#include "platform/ui/FrameCentring.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

constexpr int kWatchMs = 1000;

// The platform window's margins are read afresh from the window system,
// where the widget's own frame geometry may still hold the frame it had
// before the window manager added one.
QMargins FrameMargins(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

class FrameWatch : public QObject {
public:
    FrameWatch(QWidget* window, std::function<void(QSize)> place)
        : QObject(window), window_(window), place_(std::move(place)),
          placedWith_(FrameMargins(window)) {
        window->installEventFilter(this);
        QTimer::singleShot(kWatchMs, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (done_ || !Telling(event->type()) || FrameMargins(window_) == placedWith_)
            return false;
        done_ = true;
        place_(OuterSize(window_));
        deleteLater();
        return false;
    }

private:
    // The events a window gets around the time it is framed and mapped.
    static bool Telling(QEvent::Type type) {
        return type == QEvent::Move || type == QEvent::Resize || type == QEvent::Expose ||
               type == QEvent::WindowActivate || type == QEvent::ActivationChange ||
               type == QEvent::UpdateRequest;
    }

    QWidget* window_;
    std::function<void(QSize)> place_;
    QMargins placedWith_;
    bool done_ = false;
};

} // namespace

QSize OuterSize(const QWidget* window) {
    const QMargins m = FrameMargins(window);
    if (m.isNull())
        return window->frameGeometry().size();
    return window->size().grownBy(m);
}

void PlaceAgainWhenFramed(QWidget* window, std::function<void(QSize)> place) {
    for (QObject* child : window->children())
        if (auto* old = dynamic_cast<FrameWatch*>(child))
            delete old;
    new FrameWatch(window, std::move(place));
}

} // namespace platform
