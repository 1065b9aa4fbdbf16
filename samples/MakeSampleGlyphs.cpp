// Draws the sample glyph set into a directory: small .bmp files of the sizes
// and image counts toolbar glyphs come in (16 x 16 with one image, 32 x 16
// with an up and a disabled image, 64 x 16 with all four button states,
// 20 x 20, 40 x 20) and one zero-length file. The bottom-left pixel of each
// carries the colour that is drawn transparent.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor kTransparent(128, 128, 0); // olive, the classic glyph background

using Motif = std::function<void(QPainter&, const QRectF&, const QColor&)>;

void Arrow(QPainter& p, const QRectF& r, const QColor& c, double angle) {
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const double s = r.width() / 2 - 2;
    QPainterPath path;
    path.moveTo(-s, -s / 3);
    path.lineTo(0, -s / 3);
    path.lineTo(0, -s);
    path.lineTo(s, 0);
    path.lineTo(0, s);
    path.lineTo(0, s / 3);
    path.lineTo(-s, s / 3);
    path.closeSubpath();
    p.fillPath(path, c);
    p.setPen(c.darker(180));
    p.drawPath(path);
    p.restore();
}

std::vector<std::pair<QString, Motif>> Motifs() {
    std::vector<std::pair<QString, Motif>> m;
    for (int a = 0; a < 4; ++a)
        m.push_back(
            {QString("arrow%1").arg(a * 90),
             [a](QPainter& p, const QRectF& r, const QColor& c) { Arrow(p, r, c, a * 90.0); }});
    m.push_back({"circle", [](QPainter& p, const QRectF& r, const QColor& c) {
                     p.setBrush(c);
                     p.setPen(c.darker(180));
                     p.drawEllipse(r.adjusted(2, 2, -3, -3));
                 }});
    m.push_back({"square", [](QPainter& p, const QRectF& r, const QColor& c) {
                     p.setBrush(c);
                     p.setPen(c.darker(180));
                     p.drawRect(r.adjusted(3, 3, -4, -4));
                 }});
    m.push_back({"diamond", [](QPainter& p, const QRectF& r, const QColor& c) {
                     QPolygonF d{{r.center().x(), r.top() + 1},
                                 {r.right() - 1, r.center().y()},
                                 {r.center().x(), r.bottom() - 1},
                                 {r.left() + 1, r.center().y()}};
                     p.setBrush(c);
                     p.setPen(c.darker(180));
                     p.drawPolygon(d);
                 }});
    m.push_back({"cross", [](QPainter& p, const QRectF& r, const QColor& c) {
                     p.setPen(QPen(c, r.width() / 6));
                     p.drawLine(r.topLeft() + QPointF(3, 3), r.bottomRight() - QPointF(3, 3));
                     p.drawLine(r.topRight() + QPointF(-3, 3), r.bottomLeft() + QPointF(3, -3));
                 }});
    m.push_back({"page", [](QPainter& p, const QRectF& r, const QColor& c) {
                     p.setBrush(Qt::white);
                     p.setPen(Qt::black);
                     p.drawRect(r.adjusted(3, 1, -4, -2));
                     p.setPen(c);
                     for (double y = r.top() + 4; y < r.bottom() - 3; y += 3)
                         p.drawLine(QPointF(r.left() + 5, y), QPointF(r.right() - 6, y));
                 }});
    m.push_back({"letter", [](QPainter& p, const QRectF& r, const QColor& c) {
                     QFont f("DejaVu Sans");
                     f.setPixelSize(int(r.height()) - 3);
                     f.setBold(true);
                     p.setFont(f);
                     p.setPen(c);
                     p.drawText(r, Qt::AlignCenter, "A");
                 }});
    return m;
}

const QColor kColours[] = {QColor(0, 0, 160),   QColor(0, 128, 0),   QColor(192, 0, 0),
                           QColor(128, 0, 128), QColor(0, 128, 128), QColor(255, 160, 0)};

// One image of a glyph in a button state: 0 up, 1 disabled, 2 held, 3 down.
void DrawState(QPainter& p, const QRectF& cell, const Motif& motif, const QColor& colour,
               int state) {
    if (state == 1) {
        motif(p, cell.translated(1, 1), Qt::white);
        motif(p, cell, QColor(128, 128, 128));
        return;
    }
    const QColor c = state == 2 ? colour.lighter(150) : state == 3 ? colour.darker(130) : colour;
    motif(p, state >= 2 ? cell.translated(1, 1) : cell, c);
}

bool SaveGlyph(const QString& dir, const QString& name, int cellW, int cellH, int images,
               const Motif& motif, const QColor& colour) {
    QImage img(cellW * images, cellH, QImage::Format_RGB888);
    img.fill(kTransparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < images; ++i)
        DrawState(p, QRectF(i * cellW, 0, cellW, cellH), motif, colour, i);
    p.end();
    img.setPixelColor(0, cellH - 1, kTransparent);
    return img.save(dir + "/" + name, "BMP");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_glyphs DIRECTORY\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    struct Size {
        const char* tag;
        int w, h, images;
    } sizes[] = {{"16", 16, 16, 1},
                 {"32x16", 16, 16, 2},
                 {"64x16", 16, 16, 4},
                 {"20", 20, 20, 1},
                 {"40x20", 20, 20, 2}};
    int made = 0;
    const auto motifs = Motifs();
    for (std::size_t s = 0; s < std::size(sizes); ++s) {
        for (std::size_t m = 0; m < motifs.size(); ++m) {
            const QColor colour = kColours[(m + s) % std::size(kColours)];
            const QString name = QString("%1_%2.bmp").arg(motifs[m].first, sizes[s].tag);
            if (!SaveGlyph(dir, name, sizes[s].w, sizes[s].h, sizes[s].images, motifs[m].second,
                           colour)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
                return 1;
            }
            ++made;
        }
    }
    QFile empty(dir + "/empty.bmp");
    if (!empty.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    empty.close();
    std::printf("%d sample glyphs and empty.bmp written to %s\n", made, qPrintable(dir));
    return 0;
}
