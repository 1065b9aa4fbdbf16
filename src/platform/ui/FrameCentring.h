#pragma once
// A window placed by its outer size when it is first shown is placed again
// once a window manager has put its frame around it: until then the frame is
// not known, and the window would sit off by half a title bar.
#include <QSize>
#include <functional>

class QWidget;

namespace platform {

// The window's size with its frame, as far as the window system knows it now.
QSize OuterSize(const QWidget* window);

// Watches `window` for a while after it is shown; the first time its frame
// turns out different from the one it was placed with, `place` runs again
// with the outer size. The watch ends after that, or after a second, so a
// window the user moves or resizes stays where the user put it.
void PlaceAgainWhenFramed(QWidget* window, std::function<void(QSize outer)> place);

} // namespace platform
