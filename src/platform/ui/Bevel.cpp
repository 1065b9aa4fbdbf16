#include "platform/ui/Bevel.h"

#include <QPainter>

#include "platform/ui/Edges.h"

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

void TBevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const bool lowered = style_ == bsLowered;
    if (shape_ == bsBox) {
        platform::DrawEdges(painter, rect(), lowered ? shadow : light, lowered ? light : shadow);
        return;
    }
    // A frame is an etched groove (lowered) or ridge (raised): two rectangles
    // one pixel apart, the lower-right one drawn first.
    const QColor first = lowered ? light : shadow;
    const QColor second = lowered ? shadow : light;
    platform::DrawEdges(painter, rect().adjusted(1, 1, 0, 0), first, first);
    platform::DrawEdges(painter, rect().adjusted(0, 0, -1, -1), second, second);
}
