#include "platform/ui/Edges.h"

#include <QPainter>

namespace platform {

void DrawEdges(QPainter& painter, const QRect& box, const QColor& topLeft,
               const QColor& bottomRight) {
    if (box.isEmpty())
        return;
    painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
    painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
    painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
}

void DrawSunkenPanel(QPainter& painter, const QRect& box, const QColor& dark, const QColor& light,
                     const QBrush& fill) {
    painter.fillRect(box.adjusted(1, 1, -1, -1), fill);
    DrawEdges(painter, box, dark, light);
}

} // namespace platform
