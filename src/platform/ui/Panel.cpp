#include "platform/ui/Panel.h"

#include <QPainter>

#include "platform/ui/Edges.h"

namespace {

// One bevel line around `frame`, which then shrinks by the pixel it took.
void DrawBevel(QPainter& painter, QRect& frame, TPanelBevel bevel, const QPalette& palette) {
    if (bevel == TPanelBevel::None)
        return;
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    const bool raised = bevel == TPanelBevel::Raised;
    platform::DrawEdges(painter, frame, raised ? light : dark, raised ? dark : light);
    frame.adjust(1, 1, -1, -1);
}

} // namespace

TPanel::TPanel(QWidget* parent) : QWidget(parent) {}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
    outer_ = bevel;
    update();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
    inner_ = bevel;
    update();
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect frame = rect();
    DrawBevel(painter, frame, outer_, palette());
    DrawBevel(painter, frame, inner_, palette());
}
