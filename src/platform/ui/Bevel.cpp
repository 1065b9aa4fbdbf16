#include "platform/ui/Bevel.h"

#include <QPainter>

TBevel::TBevel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::SetShape(TBevelShape shape) {
    shape_ = shape;
    update();
}

void TBevel::SetStyle(TBevelStyle style) {
    style_ = style;
    update();
}

namespace {

// A one-pixel rectangle, its top and left edge in one colour, its bottom and
// right edge in another.
void DrawRect(QPainter& painter, const QRect& box, const QColor& topLeft,
              const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
}

} // namespace

void TBevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const bool lowered = style_ == bsLowered;
    if (shape_ == bsBox) {
        DrawRect(painter, rect(), lowered ? shadow : light, lowered ? light : shadow);
        return;
    }
    // A frame is an etched groove (lowered) or ridge (raised): two rectangles
    // one pixel apart, the lower-right one drawn first.
    const QColor first = lowered ? light : shadow;
    const QColor second = lowered ? shadow : light;
    DrawRect(painter, rect().adjusted(1, 1, 0, 0), first, first);
    DrawRect(painter, rect().adjusted(0, 0, -1, -1), second, second);
}
