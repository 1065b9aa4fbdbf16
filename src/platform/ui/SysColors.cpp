#include "platform/ui/SysColors.h"

namespace platform {

QColor GetSysColor(int index) {
    switch (index) {
    case COLOR_WINDOW:
        return QColor(255, 255, 255);
    case COLOR_INACTIVEBORDER:
        return QColor(212, 208, 200);
    default:
        return QColor(0, 0, 0);
    }
}

} // namespace platform
