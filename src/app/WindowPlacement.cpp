#include "app/WindowPlacement.h"

#include <QRect>
#include <QWidget>

#include "platform/ui/Screen.h"
#include "platform/ui/WindowSystem.h"

namespace {

// Until a window manager has framed the window its title bar's height is not
// known; this is what common themes draw.
constexpr int kAssumedTitleBarHeight = 30;

} // namespace

bool UseSavedPosition(const WindowPlacement& saved, QPoint designPosition, QSize outer) {
    if (saved.resx != platform::ScreenWidth())
        return false;
    if (QPoint(saved.left, saved.top) == designPosition)
        return false;
    const QRect screen(0, 0, platform::ScreenWidth(), platform::ScreenHeight());
    const QRect titleBar(saved.left, saved.top, outer.width(), kAssumedTitleBarHeight);
    return screen.contains(titleBar);
}

WindowPlacement PlacementToSave(const QWidget& window, const WindowPlacement& read) {
    if (!platform::WindowPositionsKnown())
        return read;
    return {window.x(), window.y(), platform::ScreenWidth()};
}
