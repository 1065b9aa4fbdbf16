// The bevel's edges, pixel by pixel, in each shape and style.
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

} // namespace
