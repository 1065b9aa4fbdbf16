#include "platform/ui/Button.h"

#include <QDialog>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "platform/Codepage.h"
#include "platform/ui/Application.h"
#include "platform/ui/Edges.h"

TButton::TButton(QWidget* parent) : QPushButton(parent) {
    connect(this, &QPushButton::clicked, this, [this] { platform::Guarded([this] { Click(); }); });
}

void TButton::SetCaption(std::string_view caption) {
    setText(platform::ToQt(caption));
}

void TButton::Click() {
    if (modalResult_ == mrNone)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->done(modalResult_);
}

void TButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (isDefault()) {
        const QColor shadow = palette().color(QPalette::Shadow);
        platform::DrawEdges(painter, rect(), shadow, shadow);
        option.rect.adjust(1, 1, -1, -1);
    }
    painter.drawControl(QStyle::CE_PushButton, option);
}
