#include "platform/ui/Gauge.h"

#include <QPainter>
#include <algorithm>

#include "platform/ui/Edges.h"

TGauge::TGauge(QWidget* parent) : QWidget(parent) {}

int TGauge::PercentDone() const {
    const long long range = static_cast<long long>(max_) - min_;
    if (range <= 0)
        return 0;
    const long long done =
        std::clamp<long long>(static_cast<long long>(progress_) - min_, 0, range);
    return static_cast<int>(done * 100 / range);
}

void TGauge::SetMinValue(std::int32_t value) {
    min_ = value;
    update();
}

void TGauge::SetMaxValue(std::int32_t value) {
    max_ = value;
    update();
}

void TGauge::SetProgress(std::int32_t value) {
    if (value == progress_)
        return;
    progress_ = value;
    // Shown from inside long commands that keep the event loop waiting.
    if (isVisible())
        repaint();
    emit progressChanged(progress_);
}

QSize TGauge::sizeHint() const {
    return {150, 20};
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect();
    platform::DrawSunkenPanel(painter, frame, palette().color(QPalette::Dark),
                              palette().color(QPalette::Light), palette().brush(QPalette::Base));

    const QRect inner = frame.adjusted(2, 2, -2, -2);
    if (inner.isEmpty())
        return;
    const int percent = PercentDone();
    const QRect bar(inner.left(), inner.top(), inner.width() * percent / 100, inner.height());
    painter.fillRect(bar, palette().brush(QPalette::Highlight));

    // The text reads in the base colours over the empty part and inverted
    // over the bar, so it stays legible where the bar passes under it.
    const QString text = QString::number(percent) + QLatin1Char('%');
    painter.setPen(palette().color(QPalette::Text));
    painter.setClipRect(inner.adjusted(bar.width(), 0, 0, 0));
    painter.drawText(inner, Qt::AlignCenter, text);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.setClipRect(bar);
    painter.drawText(inner, Qt::AlignCenter, text);
}
