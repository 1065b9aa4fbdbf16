#include "platform/ui/ProgressBar.h"

#include <QPainter>
#include <algorithm>

#include "platform/ui/Edges.h"

TProgressBar::TProgressBar(QWidget* parent) : QWidget(parent) {}

void TProgressBar::SetMin(std::int16_t value) {
    SetRange(value, max_);
}

void TProgressBar::SetMax(std::int16_t value) {
    SetRange(min_, value);
}

void TProgressBar::SetRange(std::int16_t min, std::int16_t max) {
    min_ = min;
    max_ = max;
    SetPosition(position_);
    update();
}

void TProgressBar::SetPosition(std::int16_t value) {
    if (min_ <= max_)
        value = std::clamp(value, min_, max_);
    if (value == position_)
        return;
    position_ = value;
    if (isVisible())
        ShowPosition();
    emit positionChanged(position_);
}

// Progress is shown from inside long commands that keep the event loop
// waiting, so the bar paints at once rather than when the loop runs. A walk
// over many thousand entries steps far faster than a screen can follow,
// though: within one frame of the last paint the new position waits for the
// next one, or for the loop, whichever comes first.
void TProgressBar::ShowPosition() {
    constexpr qint64 kFrameMs = 15;
    if (!sincePaint_.isValid() || sincePaint_.elapsed() >= kFrameMs) {
        sincePaint_.start();
        repaint();
        return;
    }
    if (!paintPending_) {
        paintPending_ = true;
        update();
    }
}

void TProgressBar::StepIt() {
    int next = position_ + step_;
    const int range = max_ - min_;
    if (next > max_ && range > 0)
        next = min_ + (next - min_) % range;
    SetPosition(static_cast<std::int16_t>(next));
}

QSize TProgressBar::sizeHint() const {
    return {150, 16};
}

void TProgressBar::paintEvent(QPaintEvent*) {
    paintPending_ = false;
    QPainter painter(this);
    const QRect frame = rect();
    platform::DrawSunkenPanel(painter, frame, palette().color(QPalette::Dark),
                              palette().color(QPalette::Light), palette().brush(QPalette::Button));

    const QRect inner = frame.adjusted(2, 2, -2, -2);
    const int range = max_ - min_;
    if (range <= 0 || inner.isEmpty())
        return;
    const int filled =
        static_cast<int>(static_cast<long long>(position_ - min_) * inner.width() / range);
    const int blockWidth = std::max(2, inner.height() * 2 / 3);
    const int gap = 2;
    painter.setClipRect(inner.adjusted(0, 0, filled - inner.width(), 0));
    for (int x = inner.left(); x < inner.left() + filled; x += blockWidth + gap)
        painter.fillRect(QRect(x, inner.top(), blockWidth, inner.height()),
                         palette().brush(QPalette::Highlight));
}
