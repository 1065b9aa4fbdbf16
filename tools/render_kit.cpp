// Draws the speed button in each of its looks, the bevel and an open pop-up
// menu to shots/kit.png (magnified), to look at them.
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <cstdio>

#include "platform/ui/Application.h"
#include "platform/ui/Bevel.h"
#include "platform/ui/SpeedButton.h"

namespace {

// A two-image glyph on a teal ground: an arrow, and a greyish disabled image.
QImage SampleGlyph(int images) {
    QImage bitmap(16 * images, 16, QImage::Format_RGB32);
    bitmap.fill(QColor(0, 128, 128));
    QPainter painter(&bitmap);
    for (int i = 0; i < images; ++i) {
        const QColor colour = i == 1 ? QColor(128, 128, 128) : QColor(0, 0, 160);
        painter.setPen(colour);
        painter.setBrush(colour);
        const QPoint arrow[] = {{16 * i + 3, 6},  {16 * i + 9, 6},  {16 * i + 9, 2},
                                {16 * i + 14, 8}, {16 * i + 9, 13}, {16 * i + 9, 10},
                                {16 * i + 3, 10}};
        painter.drawPolygon(arrow, 7);
    }
    return bitmap;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::UseClassicLook();

    QWidget window;
    window.resize(260, 80);
    auto* bevel = new TBevel(&window);
    bevel->setGeometry(5, 5, 250, 70);
    bevel->SetShape(TBevel::bsFrame);

    // Up, held, down, disabled (one image: embossed), disabled and down, two images disabled.
    struct Case {
        int images;
        bool down, enabled, held;
    };
    const Case cases[] = {{1, false, true, false}, {1, false, true, true},
                          {1, true, true, false},  {1, false, false, false},
                          {1, true, false, false}, {2, false, false, false}};
    int x = 15;
    for (const Case& c : cases) {
        auto* b = new TSpeedButton(&window);
        b->setGeometry(x, 20, 25, 25);
        b->SetGroupIndex(1 + x);
        b->SetAllowAllUp(true);
        b->SetGlyph(SampleGlyph(c.images));
        b->SetNumGlyphs(c.images);
        b->SetDown(c.down);
        b->setEnabled(c.enabled);
        if (c.held) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 12),
                              b->mapToGlobal(QPointF(12, 12)), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(b, &press);
        }
        x += 40;
    }
    const QImage shot = window.grab().toImage().scaled(window.size() * 4, Qt::IgnoreAspectRatio,
                                                       Qt::FastTransformation);
    QDir().mkpath("shots");
    const bool saved = shot.save("shots/kit.png");
    std::printf("%s\n", saved ? "shots/kit.png" : "could not save shots/kit.png");
    return saved ? 0 : 1;
}
