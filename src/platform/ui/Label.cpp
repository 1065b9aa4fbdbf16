#include "platform/ui/Label.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

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

int TLabel::DrawFlags() const {
    return Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic |
           (wordWrap() ? Qt::TextWordWrap : 0);
}

QString TLabel::ShownText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QSize TLabel::TextExtent() const {
    return fontMetrics().size(Qt::TextShowMnemonic, ShownText(text()));
}

void TLabel::FitToText() {
    if (!wordWrap()) {
        resize(TextExtent());
        return;
    }
    // A wrapping label keeps its width and grows or shrinks to its lines.
    const QRect needed =
        fontMetrics().boundingRect(QRect(0, 0, width(), 0), DrawFlags(), ShownText(text()));
    resize(width(), needed.height());
}

void TLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), DrawFlags(), palette(), isEnabled(),
                          ShownText(text()), foregroundRole());
}

void TLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && autoSize_)
        FitToText();
}
