#include "extract/ProgramResources.h"

std::string_view ResourceTypeWord(std::uint32_t type) {
    switch (type) {
    case RtCursor:
        return "cursor";
    case RtBitmap:
        return "bitmap";
    case RtIcon:
        return "icon";
    case RtGroupCursor:
        return "cursor group";
    case RtGroupIcon:
        return "icon group";
    default:
        return "resource";
    }
}

std::string_view ProgramKindName(ProgramKind kind) {
    switch (kind) {
    case ProgramKind::Pe32:
        return "PE32";
    case ProgramKind::Pe32Plus:
        return "PE32+";
    case ProgramKind::Ne:
        return "NE";
    case ProgramKind::None:
        break;
    }
    return {};
}

std::string HexText(std::uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), digits[value % 16]);
        value /= 16;
    } while (value);
    return "0x" + s;
}
