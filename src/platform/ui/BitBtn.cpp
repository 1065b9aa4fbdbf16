#include "platform/ui/BitBtn.h"

#include <QImage>
#include <array>
#include <string_view>

#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

namespace {

// The glyphs, one character a pixel: '#' is the glyph's colour, '.' shows
// the button face through.
constexpr std::array<std::string_view, 11> kCheckMark = {
    "............##", "...........###", "..........###.", ".........###..",
    "##......###...", "###....###....", ".###..###.....", "..######......",
    "...####.......", "....##........", "..............",
};

constexpr std::array<std::string_view, 11> kQuestionMark = {
    "..#####..", ".##...##.", ".##...##.", "......##.", ".....##..", "....##...",
    "...##....", "...##....", ".........", "...##....", "...##....",
};

template <std::size_t N> QPixmap Glyph(const std::array<std::string_view, N>& rows, QColor colour) {
    QImage image(int(rows[0].size()), int(N), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (std::size_t y = 0; y < N; ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] == '#')
                image.setPixelColor(int(x), int(y), colour);
    return QPixmap::fromImage(image);
}

} // namespace

TBitBtn::TBitBtn(QWidget* parent) : TButton(parent) {}

QPixmap TBitBtn::KindGlyph(TBitBtnKind kind) {
    switch (kind) {
    case TBitBtnKind::OK:
        return Glyph(kCheckMark, QColor(0, 128, 0));
    case TBitBtnKind::Help:
        return Glyph(kQuestionMark, QColor(0, 0, 160));
    case TBitBtnKind::Custom:
        break;
    }
    return QPixmap();
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    const QPixmap glyph = KindGlyph(kind);
    setIcon(glyph);
    setIconSize(glyph.size());
    switch (kind) {
    case TBitBtnKind::OK:
        SetCaption("OK");
        SetModalResult(mrOk);
        setDefault(true);
        break;
    case TBitBtnKind::Help:
        SetCaption("Help");
        SetModalResult(mrNone);
        break;
    case TBitBtnKind::Custom:
        break;
    }
}

void TBitBtn::Click() {
    if (kind_ != TBitBtnKind::Help) {
        TButton::Click();
        return;
    }
    // Without a context of its own the button asks for its form's.
    int context = helpContext_;
    if (context == 0)
        if (auto* form = qobject_cast<TForm*>(window()))
            context = form->HelpContext();
    platform::Application().HelpContext(context);
}
