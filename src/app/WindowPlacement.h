#pragma once
// The main window's position as the settings file keeps it, and the rules
// for trusting a saved one.
#include <QPoint>
#include <QSize>

class QWidget;

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int resx = 0; // the screen width it was saved at
};

// A saved position is used only when it was saved at this screen width,
// differs from the design position, and keeps the whole title bar on the
// screen; otherwise the window opens centred. `outer` is the window's size
// with its frame as far as it is known.
bool UseSavedPosition(const WindowPlacement& saved, QPoint designPosition, QSize outer);

// What the settings file gets at close: where the window stands, or, where
// the window system cannot tell that, the placement the file already had
// (a made-up position would put the window off the screen next time).
WindowPlacement PlacementToSave(const QWidget& window, const WindowPlacement& read);
