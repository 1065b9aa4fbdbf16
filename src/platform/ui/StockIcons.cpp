#include "platform/ui/StockIcons.h"

#include <QApplication>
#include <QStyle>

namespace platform {

QPixmap LoadStockIcon(int id) {
    QStyle::StandardPixmap which;
    switch (id) {
    case IDI_HAND:
        which = QStyle::SP_MessageBoxCritical;
        break;
    case IDI_QUESTION:
        which = QStyle::SP_MessageBoxQuestion;
        break;
    case IDI_EXCLAMATION:
        which = QStyle::SP_MessageBoxWarning;
        break;
    case IDI_ASTERISK:
        which = QStyle::SP_MessageBoxInformation;
        break;
    default:
        return QPixmap();
    }
    return QApplication::style()->standardIcon(which).pixmap(32, 32);
}

} // namespace platform
