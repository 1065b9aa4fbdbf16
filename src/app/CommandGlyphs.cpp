#include "app/CommandGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "platform/ui/Fonts.h"
#include "platform/ui/GlyphBitmap.h"

namespace glyphs {
namespace {

const QColor kBackground(128, 128, 0); // olive: drawn transparent
const QColor kShadow(128, 128, 128);

using Drawing = std::function<void(QPainter&)>;

QImage Canvas(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kBackground);
    return img;
}

// Draws one image of w x h; with `disabledCopy` a second image beside it
// shows the same shape greyed and embossed, as a disabled button draws it.
QImage Picture(int w, int h, bool disabledCopy, const Drawing& draw) {
    QImage single = Canvas(w, h);
    {
        QPainter p(&single);
        draw(p);
    }
    if (!disabledCopy)
        return single;
    QImage both = Canvas(2 * w, h);
    QPainter p(&both);
    p.drawImage(0, 0, single);
    p.drawImage(w, 0,
                platform::DisabledImage(platform::GlyphImage(single, 1, 0), Qt::white, kShadow));
    return both;
}

void Triangle(QPainter& p, double left, double top, double size, bool pointsRight) {
    QPolygonF t;
    if (pointsRight)
        t << QPointF(left, top) << QPointF(left + size / 2, top + size / 2)
          << QPointF(left, top + size);
    else
        t << QPointF(left + size / 2, top) << QPointF(left, top + size / 2)
          << QPointF(left + size / 2, top + size);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(t);
}

void CurvedArrow(QPainter& p, const QRectF& box, bool clockwise, const QColor& c) {
    p.setPen(QPen(c, 1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.arcMoveTo(box, clockwise ? 160 : 20);
    arc.arcTo(box, clockwise ? 160 : 20, clockwise ? -120 : 120);
    p.drawPath(arc);
    const QPointF tip = arc.currentPosition();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF{tip + QPointF(-3, -2), tip + QPointF(3, -2), tip + QPointF(0, 3)});
}

} // namespace

QImage ExitGlyph() {
    return Picture(16, 16, true, [](QPainter& p) {
        const QColor green(0, 128, 0);
        p.setPen(QPen(green, 2));
        p.drawLine(2, 2, 8, 2);
        p.drawLine(2, 2, 2, 13);
        p.drawLine(2, 13, 8, 13);
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(5, 8, 12, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon{QPoint(11, 4), QPoint(15, 8), QPoint(11, 12)});
    });
}

QImage FirstGlyph() {
    return Picture(20, 20, false, [](QPainter& p) {
        p.fillRect(4, 4, 2, 12, Qt::black);
        Triangle(p, 7, 4, 12, false);
    });
}

QImage PreviousGlyph() {
    return Picture(20, 20, false, [](QPainter& p) { Triangle(p, 6, 4, 12, false); });
}

QImage NextGlyph() {
    return Picture(20, 20, false, [](QPainter& p) { Triangle(p, 8, 4, 12, true); });
}

QImage LastGlyph() {
    return Picture(20, 20, false, [](QPainter& p) {
        Triangle(p, 6, 4, 12, true);
        p.fillRect(14, 4, 2, 12, Qt::black);
    });
}

QImage DisableGlyph() {
    return Picture(20, 20, true, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(6, 6, 8, 8);
        p.setPen(Qt::white);
        p.drawLine(7, 7, 12, 7);
        p.drawLine(7, 7, 7, 12);
        CurvedArrow(p, QRectF(1, 1, 18, 12), true, QColor(0, 0, 160));
        CurvedArrow(p, QRectF(1, 7, 18, 12), false, QColor(0, 0, 160));
    });
}

QImage DirectoryGlyph() {
    return Picture(18, 18, false, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(255, 255, 0));
        p.drawPolygon(QPolygon{QPoint(1, 6), QPoint(5, 6), QPoint(6, 8), QPoint(13, 8),
                               QPoint(13, 16), QPoint(1, 16)});
        p.setBrush(QColor(192, 192, 0));
        p.drawPolygon(QPolygon{QPoint(1, 16), QPoint(4, 10), QPoint(16, 10), QPoint(13, 16)});
        CurvedArrow(p, QRectF(8, 1, 9, 8), true, QColor(0, 0, 160));
    });
}

QImage ExtractGlyph() {
    return Picture(18, 18, true, [](QPainter& p) {
        QFont f = platform::DesignFont("Arial", -7, true);
        p.setFont(f);
        p.setPen(QColor(128, 0, 0));
        p.drawText(QRect(0, 0, 18, 8), Qt::AlignCenter, "BMP");
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 160));
        p.drawPolygon(QPolygon{QPoint(9, 8), QPoint(14, 13), QPoint(11, 13), QPoint(11, 17),
                               QPoint(7, 17), QPoint(7, 13), QPoint(4, 13)});
    });
}

QImage HelpGlyph() {
    return Picture(16, 16, true, [](QPainter& p) {
        QFont f = platform::DesignFont("Arial", -15, true);
        p.setFont(f);
        p.setPen(QColor(0, 0, 192));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "?");
    });
}

QImage AboutGlyph() {
    return Picture(20, 20, true, [](QPainter& p) {
        p.setPen(QColor(0, 0, 128));
        p.setBrush(QColor(0, 0, 192));
        p.drawEllipse(2, 2, 15, 15);
        p.fillRect(9, 8, 2, 7, Qt::white);
        p.fillRect(9, 5, 2, 2, Qt::white);
    });
}

} // namespace glyphs
