#include "platform/ui/SysColors.h"

namespace platform {

QColor GetSysColor(int index) {
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_BTNHIGHLIGHT:
        return QColor(255, 255, 255);
    case COLOR_INACTIVEBORDER:
    case COLOR_BTNFACE:
    case COLOR_3DLIGHT:
        return QColor(212, 208, 200);
    case COLOR_HIGHLIGHT:
        return QColor(10, 36, 106);
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT:
        return QColor(128, 128, 128);
    case COLOR_3DDKSHADOW:
        return QColor(64, 64, 64);
    case COLOR_INFOBK:
        return QColor(255, 255, 225);
    default: // COLOR_WINDOWTEXT, COLOR_BTNTEXT, COLOR_INFOTEXT among them
        return QColor(0, 0, 0);
    }
}

QPalette ClassicPalette() {
    struct RoleColour {
        QPalette::ColorRole role;
        int index;
    };
    static constexpr RoleColour kRoles[] = {
        {QPalette::Window, COLOR_BTNFACE},
        {QPalette::WindowText, COLOR_WINDOWTEXT},
        {QPalette::Base, COLOR_WINDOW},
        {QPalette::AlternateBase, COLOR_BTNFACE},
        {QPalette::ToolTipBase, COLOR_INFOBK},
        {QPalette::ToolTipText, COLOR_INFOTEXT},
        {QPalette::PlaceholderText, COLOR_GRAYTEXT},
        {QPalette::Text, COLOR_WINDOWTEXT},
        {QPalette::Button, COLOR_BTNFACE},
        {QPalette::ButtonText, COLOR_BTNTEXT},
        {QPalette::BrightText, COLOR_BTNHIGHLIGHT},
        {QPalette::Light, COLOR_BTNHIGHLIGHT},
        {QPalette::Midlight, COLOR_3DLIGHT},
        {QPalette::Dark, COLOR_BTNSHADOW},
        {QPalette::Mid, COLOR_BTNSHADOW},
        {QPalette::Shadow, COLOR_3DDKSHADOW},
        {QPalette::Highlight, COLOR_HIGHLIGHT},
        {QPalette::HighlightedText, COLOR_HIGHLIGHTTEXT},
    };
    QPalette palette;
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const RoleColour& r : kRoles)
            palette.setColor(group, r.role, GetSysColor(r.index));
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Link, Qt::blue);
        palette.setColor(group, QPalette::LinkVisited, Qt::darkMagenta);
    }
    for (const QPalette::ColorRole text :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Link,
          QPalette::LinkVisited})
        palette.setColor(QPalette::Disabled, text, GetSysColor(COLOR_GRAYTEXT));
    palette.setColor(QPalette::Disabled, QPalette::Base, GetSysColor(COLOR_BTNFACE));
    return palette;
}

} // namespace platform
