#pragma once
// The one-pixel edges every frame, bevel and button face is made of.
//
// Each edge is filled as a rectangle one pixel wide rather than drawn as a
// line: at a scale factor of 1.25, 1.5 or 2 a filled rectangle still covers
// at least one whole screen pixel, where a one-pixel line can fall between
// screen pixels at a widget's edge and vanish.
#include <QBrush>
#include <QColor>
#include <QRect>

class QPainter;

namespace platform {

// The outline of `box`: its top and left edge in `topLeft`, its bottom and
// right edge (corners included) in `bottomRight`.
void DrawEdges(QPainter& painter, const QRect& box, const QColor& topLeft,
               const QColor& bottomRight);

// A sunken panel: dark above and left, light below and right, and `fill`
// inside.
void DrawSunkenPanel(QPainter& painter, const QRect& box, const QColor& dark, const QColor& light,
                     const QBrush& fill);

} // namespace platform
