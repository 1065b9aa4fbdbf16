// The bevel's edges, pixel by pixel, in each shape and style.
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/ui/Bevel.h"

namespace {

TEST(Bevel, DrawsItsEdgesOnTheOutermostPixels) {
    struct Case {
        TBevel::TBevelShape shape;
        TBevel::TBevelStyle style;
        // Expected roles at (0,0), (1,1), (W-2,H-2), (W-1,H-1); Window = untouched.
        QPalette::ColorRole at[4];
    };
    using P = QPalette;
    const Case cases[] = {
        {TBevel::bsBox, TBevel::bsLowered, {P::Dark, P::Window, P::Window, P::Light}},
        {TBevel::bsBox, TBevel::bsRaised, {P::Light, P::Window, P::Window, P::Dark}},
        // The etched frame: a dark rectangle with a light one a pixel below and right.
        {TBevel::bsFrame, TBevel::bsLowered, {P::Dark, P::Light, P::Dark, P::Light}},
        {TBevel::bsFrame, TBevel::bsRaised, {P::Light, P::Dark, P::Light, P::Dark}},
    };
    for (const Case& c : cases) {
        QWidget window;
        window.setAutoFillBackground(true);
        auto* bevel = new TBevel(&window);
        bevel->setGeometry(0, 0, 40, 30);
        bevel->SetShape(c.shape);
        bevel->SetStyle(c.style);
        const QImage image = window.grab(QRect(0, 0, 40, 30)).toImage();
        const QPoint points[4] = {{0, 0}, {1, 1}, {38, 28}, {39, 29}};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(image.pixel(points[i]), bevel->palette().color(c.at[i]).rgb())
                << "shape " << c.shape << " style " << c.style << " point " << i;
    }
}

// At a scale factor a one-pixel edge covers a pixel and a half of the screen;
// placed where the main window places its bevel (13, 10), each edge must
// still show: a lowered box is dark above and left, light below and right.
TEST(Bevel, EveryEdgeShowsAtEveryScale) {
    QWidget window;
    window.resize(80, 60);
    window.setAutoFillBackground(true);
    auto* bevel = new TBevel(&window);
    bevel->setGeometry(13, 10, 50, 40);
    const QRgb dark = bevel->palette().color(QPalette::Dark).rgb();
    const QRgb light = bevel->palette().color(QPalette::Light).rgb();
    for (const qreal scale : {1.0, 1.25, 1.5, 2.0}) {
        QImage image((QSizeF(window.size()) * scale).toSize(), QImage::Format_RGB32);
        QPainter painter(&image);
        painter.scale(scale, scale);
        window.render(&painter);
        painter.end();
        const auto shows = [&](QRgb colour, QPointF from, QPointF step) {
            for (int i = 0; i < 3; ++i)
                if (image.pixel((from + step * i).toPoint()) == colour)
                    return true;
            return false;
        };
        // Across each edge, from a pixel before it, at the middle of the side.
        const qreal left = 13 * scale, top = 10 * scale, right = 63 * scale, bottom = 50 * scale;
        const qreal midX = 38 * scale, midY = 30 * scale;
        EXPECT_TRUE(shows(dark, {left - 1, midY}, {1, 0})) << "left at " << scale;
        EXPECT_TRUE(shows(dark, {midX, top - 1}, {0, 1})) << "top at " << scale;
        EXPECT_TRUE(shows(light, {right, midY}, {-1, 0})) << "right at " << scale;
        EXPECT_TRUE(shows(light, {midX, bottom}, {0, -1})) << "bottom at " << scale;
    }
}

} // namespace
