// Draws the application icon into a hicolor icon theme folder: the About
// box's little picture (a framed landscape on a raised button), as PNG files
// of 16 to 256 pixels and as a scalable SVG of one square per pixel.
//
//   make_icons OUTPUT_DIR NAME
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <cstdio>

#include "dialogs/Glyph_About.h"

namespace {

// The picture on a transparent square, scaled by whole pixels where it fits
// so its edges stay sharp, else smoothly.
QImage IconOfSize(const QImage& picture, int size) {
    const int side = std::max(picture.width(), picture.height());
    const int factor = size / side;
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    QImage scaled;
    if (factor >= 2)
        scaled = picture.scaled(picture.width() * factor, picture.height() * factor,
                                Qt::IgnoreAspectRatio, Qt::FastTransformation);
    else
        scaled = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return icon;
}

// One rectangle per run of equal pixels in a row.
QString Svg(const QImage& picture) {
    const int side = std::max(picture.width(), picture.height());
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 "
        << side << ' ' << side << "\" shape-rendering=\"crispEdges\">\n";
    const int top = (side - picture.height()) / 2, left = (side - picture.width()) / 2;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width();) {
            const QRgb colour = picture.pixel(x, y);
            int run = 1;
            while (x + run < picture.width() && picture.pixel(x + run, y) == colour)
                ++run;
            out << "<rect x=\"" << left + x << "\" y=\"" << top + y << "\" width=\"" << run
                << "\" height=\"1\" fill=\"" << QColor(colour).name() << "\"/>\n";
            x += run;
        }
    out << "</svg>\n";
    return svg;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icons OUTPUT_DIR NAME\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]), name = QString::fromLocal8Bit(argv[2]);
    const QImage picture = TFormAbout::Picture().convertToFormat(QImage::Format_ARGB32);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = root + QStringLiteral("/%1x%1/apps").arg(size);
        QDir().mkpath(dir);
        if (!IconOfSize(picture, size).save(dir + "/" + name + ".png"))
            return 1;
    }
    const QString scalable = root + "/scalable/apps";
    QDir().mkpath(scalable);
    QFile svg(scalable + "/" + name + ".svg");
    if (!svg.open(QIODevice::WriteOnly))
        return 1;
    svg.write(Svg(picture).toUtf8());
    return 0;
}
