#pragma once
// How every form builds its designed controls: a new control on its parent,
// named as designed (tests and the help find controls by these names) and
// placed at its design bounds, or at its design position for a control that
// takes the size of its text.
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

namespace platform {

template <class Control>
Control* PlaceControl(QWidget* parent, const QString& name, const QRect& bounds) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(bounds);
    return control;
}

template <class Control>
Control* PlaceControl(QWidget* parent, const QString& name, const QPoint& position) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->move(position);
    return control;
}

} // namespace platform
