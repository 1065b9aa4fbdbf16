#include "platform/ui/Label.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "platform/Codepage.h"

TLabel::TLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TLabel::SetCaption(std::string_view caption) {
    setText(platform::ToQt(caption));
    if (autoSize_)
        FitToText();
}

std::string TLabel::Caption() const {
    return platform::FromQt(text());
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_)
        FitToText();
}

platform::WrappedText TLabel::Lines() const {
    const int width = wordWrap() ? contentsRect().width() : platform::NoWrap;
    return platform::WrapText(fontMetrics(), text(), width, width);
}

QSize TLabel::TextExtent() const {
    return platform::WrapText(fontMetrics(), text()).Size();
}

void TLabel::FitToText() {
    if (!wordWrap()) {
        resize(TextExtent());
        return;
    }
    // A wrapping label keeps its width and grows or shrinks to its lines.
    resize(width(), Lines().Size().height());
}

void TLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const platform::WrappedText wrapped = Lines();
    const QRect area = contentsRect();
    QRect lineRect(area.left(), area.top(), area.width(), wrapped.lineHeight);
    for (const platform::TextLine& line : wrapped.lines) {
        // A word wider than the label runs past its right edge, as it is measured.
        lineRect.setWidth(std::max(area.width(), line.width));
        style()->drawItemText(&painter, lineRect,
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, palette(),
                              isEnabled(), line.QtMnemonicText(), foregroundRole());
        lineRect.translate(0, wrapped.lineHeight);
    }
}

void TLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && autoSize_)
        FitToText();
}
