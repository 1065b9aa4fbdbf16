#include "platform/ui/Fonts.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/Codepage.h"

namespace platform {

namespace {

struct FaceSubstitute {
    std::string_view design;
    const char* installed;
    QFont::StyleHint hint;
    bool bold; // the design's face is a heavy one
};

// Liberation faces share the widths of the faces they stand in for, so text
// that fits its designed box here fits it there. "System" is the heavy
// proportional screen font; a bold sans keeps its weight.
constexpr std::array<FaceSubstitute, 4> kSubstitutes = {{
    {"System", "Liberation Sans", QFont::SansSerif, true},
    {"MS Sans Serif", "Liberation Sans", QFont::SansSerif, false},
    {"Arial", "Liberation Sans", QFont::SansSerif, false},
    {"Courier New", "Liberation Mono", QFont::Monospace, false},
}};

const FaceSubstitute* FindSubstitute(std::string_view face) {
    for (const FaceSubstitute& s : kSubstitutes)
        if (EqualIgnoringCase(s.design, face))
            return &s;
    return nullptr;
}

} // namespace

QString SubstituteFace(std::string_view designFace) {
    const FaceSubstitute* s = FindSubstitute(designFace);
    return s ? QString::fromLatin1(s->installed) : ToQt(designFace);
}

QFont DesignFont(std::string_view face, int height, bool bold) {
    QFont font(SubstituteFace(face));
    const FaceSubstitute* s = FindSubstitute(face);
    font.setStyleHint(s ? s->hint : QFont::AnyStyle);
    font.setBold(bold || (s && s->bold));
    if (height == 0)
        height = -11;
    font.setPixelSize(std::abs(height));
    if (height > 0) {
        // A cell height includes the internal leading: shrink the character
        // height until the cell fits.
        const int cell = QFontMetrics(font).height();
        if (cell > height)
            font.setPixelSize(std::max(1, (height * height + cell / 2) / cell));
    }
    return font;
}

QFont DefaultFormFont() {
    return DesignFont("MS Sans Serif", -11);
}

} // namespace platform
