#pragma once
// The screen's size in pixels. Window placement reads it here and nowhere
// else, so tests can put the program on a screen of any size.
#include <QPoint>
#include <QSize>

namespace platform {

int ScreenWidth();
int ScreenHeight();

// Makes ScreenWidth/ScreenHeight answer these values until ResetScreenSize.
void SetScreenSize(int width, int height);
// Back to the primary screen's real size.
void ResetScreenSize();

// Top-left of a window of this outer size centred on the screen:
// (width - w) div 2, (height - h) div 2, not clamped.
QPoint ScreenCentre(QSize outerSize);

} // namespace platform
