#include "platform/ui/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <optional>

namespace platform {

namespace {

std::optional<QSize>& FixedSize() {
    static std::optional<QSize> size;
    return size;
}

QSize CurrentSize() {
    if (FixedSize())
        return *FixedSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(0, 0);
}

} // namespace

int ScreenWidth() {
    return CurrentSize().width();
}

int ScreenHeight() {
    return CurrentSize().height();
}

void SetScreenSize(int width, int height) {
    FixedSize() = QSize(width, height);
}

void ResetScreenSize() {
    FixedSize().reset();
}

QPoint ScreenCentre(QSize outerSize) {
    return QPoint((ScreenWidth() - outerSize.width()) / 2,
                  (ScreenHeight() - outerSize.height()) / 2);
}

} // namespace platform
