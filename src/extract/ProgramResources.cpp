#include "extract/ProgramResources.h"

#include "extract/NeResources.h"
#include "extract/PeResources.h"
#include "extract/ProgramHeaders.h"

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

ProgramResources ListProgramResources(platform::FileObject& file) {
    ProgramResources list;
    TBoundedReader reader(file);
    DosHeader dos;
    if (!ReadDosHeader(reader, dos))
        return list;
    switch (NewHeaderKind(reader, dos)) {
    case NewHeader::Pe: {
        PeHeaders headers;
        if (ReadPeHeaders(reader, dos.newHeaderAt, headers))
            ListPeResources(reader, headers, list);
        break;
    }
    case NewHeader::Ne:
        ListNeResources(reader, dos.newHeaderAt, list);
        break;
    default:
        break;
    }
    return list;
}
