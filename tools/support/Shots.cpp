#include "Shots.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

namespace shots {

namespace {

// Drawn at the screen's scale, so a shot taken at a scale factor shows the
// screen's own pixels.
QImage WithCaption(QWidget* widget) {
    const QPixmap client = widget->grab();
    const qreal scale = client.devicePixelRatio();
    const QSize size = client.deviceIndependentSize().toSize();
    constexpr int strip = 20;
    QImage image((QSizeF(size.width() + 2, size.height() + strip + 1) * scale).toSize(),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(128, 128, 128));
    QPainter painter(&image);
    painter.fillRect(1, 1, size.width(), strip - 1, QColor(0, 0, 128));
    painter.setPen(Qt::white);
    QFont font("Liberation Sans");
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(5, 1, size.width() - 8, strip - 1), Qt::AlignVCenter,
                     widget->windowTitle());
    painter.drawPixmap(1, strip, client);
    return image;
}

bool Written(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

QString OutputDir(int argc, char** argv) {
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(dir);
    return dir;
}

bool Save(QWidget* widget, const QString& dir, const QString& name) {
    return Written(WithCaption(widget), dir + "/" + name + ".png");
}

bool SavePlain(QWidget* widget, const QString& dir, const QString& file) {
    return Written(widget->grab().toImage(), dir + "/" + file);
}

} // namespace shots
