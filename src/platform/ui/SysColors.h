#pragma once
// The platform's system colours by index, as the forms name them.
#include <QColor>

namespace platform {

constexpr int COLOR_WINDOW = 5;          // the background of edits and lists
constexpr int COLOR_INACTIVEBORDER = 11; // the grey of a disabled control's face

// The colour of a system colour index; black for an index we do not keep.
QColor GetSysColor(int index);

} // namespace platform
