#include "platform/ui/SpeedButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>

#include "platform/Codepage.h"
#include "platform/ui/Edges.h"
#include "platform/ui/GlyphBitmap.h"

TSpeedButton::TSpeedButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
}

void TSpeedButton::SetGroupIndex(int index) {
    groupIndex_ = index;
    if (groupIndex_ == 0)
        SetDown(false);
}

void TSpeedButton::SetDown(bool down) {
    if (groupIndex_ == 0)
        down = false;
    if (down == down_ || (down_ && !allowAllUp_ && groupIndex_ != 0))
        return;
    down_ = down;
    if (down_)
        ReleaseGroup();
    update();
}

// Only one button of a group is down: the others of the same parent let go.
void TSpeedButton::ReleaseGroup() {
    if (!parentWidget())
        return;
    for (auto* other : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly))
        if (other != this && other->groupIndex_ == groupIndex_ && other->down_) {
            other->down_ = false;
            other->update();
        }
}

void TSpeedButton::SetNumGlyphs(int count) {
    numGlyphs_ = std::clamp(count, 1, 4);
    std::fill(std::begin(drawnValid_), std::end(drawnValid_), false);
    update();
}

void TSpeedButton::SetGlyph(const QImage& bitmap) {
    glyph_ = bitmap;
    std::fill(std::begin(drawnValid_), std::end(drawnValid_), false);
    update();
}

void TSpeedButton::SetHint(std::string hint) {
    hint_ = std::move(hint);
    UpdateToolTip();
}

void TSpeedButton::SetShowHint(bool show) {
    showHint_ = show;
    UpdateToolTip();
}

void TSpeedButton::UpdateToolTip() {
    setToolTip(showHint_ ? platform::ToQt(hint_) : QString());
}

void TSpeedButton::Click() {
    emit clicked(this);
}

TSpeedButton::Look TSpeedButton::CurrentLook() const {
    if (!isEnabled())
        return Look::Disabled;
    if (down_)
        return Look::Down;
    return held_ ? Look::Held : Look::Up;
}

// Where the glyph has no image of a state's own, the first image stands in;
// a missing disabled image is made from the first one.
QImage TSpeedButton::ImageFor(Look look) const {
    const int index = look == Look::Disabled ? 1
                      : look == Look::Held   ? 2
                      : look == Look::Down   ? 3
                                             : 0;
    if (index < numGlyphs_)
        return platform::GlyphImage(glyph_, numGlyphs_, index);
    const QImage first = platform::GlyphImage(glyph_, numGlyphs_, 0);
    if (look != Look::Disabled || first.isNull())
        return first;
    return platform::DisabledImage(first, palette().color(QPalette::Active, QPalette::Light),
                                   palette().color(QPalette::Active, QPalette::Dark));
}

// The classic two-pixel edge: light above and left, dark below and right when
// raised, the other way round when pressed. A button that stays down shows a
// face of one-pixel checks of face colour and white. A disabled button keeps
// the colours of an enabled one: only its picture turns grey.
void TSpeedButton::DrawFace(QPainter& painter, Look look) const {
    QPalette pal = palette();
    pal.setCurrentColorGroup(QPalette::Active);
    const QColor face = pal.color(QPalette::Button);
    const bool sunken = look == Look::Held || look == Look::Down;
    const QRect r = rect();
    painter.fillRect(rect(), face);
    if (look == Look::Down) {
        QImage checks(2, 2, QImage::Format_RGB32);
        checks.fill(face);
        checks.setPixel(0, 0, pal.color(QPalette::Light).rgb());
        checks.setPixel(1, 1, pal.color(QPalette::Light).rgb());
        painter.fillRect(rect().adjusted(2, 2, -2, -2), QBrush(checks));
    }
    const QColor outerTopLeft = pal.color(sunken ? QPalette::Shadow : QPalette::Light);
    const QColor innerTopLeft = pal.color(sunken ? QPalette::Dark : QPalette::Midlight);
    const QColor outerBottomRight = pal.color(sunken ? QPalette::Light : QPalette::Shadow);
    const QColor innerBottomRight = pal.color(sunken ? QPalette::Midlight : QPalette::Dark);
    platform::DrawEdges(painter, r, outerTopLeft, outerBottomRight);
    platform::DrawEdges(painter, r.adjusted(1, 1, -1, -1), innerTopLeft, innerBottomRight);
}

const QImage& TSpeedButton::CachedImageFor(Look look) {
    const auto i = static_cast<std::size_t>(look);
    if (!drawnValid_[i]) {
        drawn_[i] = ImageFor(look);
        drawnValid_[i] = true;
    }
    return drawn_[i];
}

void TSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Look look = CurrentLook();
    DrawFace(painter, look);
    const QImage& image = CachedImageFor(look);
    if (image.isNull())
        return;
    // Centred; a pressed button shows its glyph one pixel down and right.
    QPoint at((width() - image.width() + 1) / 2, (height() - image.height() + 1) / 2);
    if (look == Look::Held || look == Look::Down)
        at += QPoint(1, 1);
    painter.drawImage(at, image);
}

void TSpeedButton::mousePressEvent(QMouseEvent* event) {
    // The handler may open a menu or change the button, even delete it.
    QPointer<TSpeedButton> self(this);
    const QPoint at = event->position().toPoint();
    emit mouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
    if (!self || !isEnabled() || event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    held_ = !down_;
    update();
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    const bool held = !down_ && rect().contains(event->position().toPoint());
    if (held != held_) {
        held_ = held;
        update();
    }
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    StopDragging();
    if (!inside)
        return;
    if (groupIndex_ != 0)
        SetDown(!down_);
    Click();
}

void TSpeedButton::StopDragging() {
    dragging_ = false;
    held_ = false;
    update();
}

void TSpeedButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        StopDragging();
    if (event->type() == QEvent::PaletteChange)
        std::fill(std::begin(drawnValid_), std::end(drawnValid_), false);
    QWidget::changeEvent(event);
}

void TSpeedButton::hideEvent(QHideEvent* event) {
    StopDragging();
    QWidget::hideEvent(event);
}
