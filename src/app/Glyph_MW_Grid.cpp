// The grid of glyph buttons: 4 rows of 8 toggle buttons, each its own
// group, found by name ("SpeedButtonDyn1" to "SpeedButtonDyn32") or by the
// file it shows.
#include "app/Glyph_MW.h"

#include "extract/GermanCase.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bevel.h"
#include "platform/ui/PlaceControl.h"
#include "platform/ui/SpeedButton.h"

void TFormMainWindow::CreateGlyphButtons() {
    for (int row = 1; row <= GlyphRows; ++row) {
        for (int column = 1; column <= GlyphColumns; ++column) {
            const int n = (row - 1) * GlyphColumns + column;
            auto* button = platform::PlaceControl<TSpeedButton>(
                this, QString("SpeedButtonDyn%1").arg(n),
                {BevelSpeedButtons->x() + 40 * column - 25, BevelSpeedButtons->y() + 40 * row - 25,
                 ButtonSize, ButtonSize});
            button->setVisible(true);
            button->SetShowHint(true);
            button->SetAllowAllUp(true);
            button->SetGroupIndex(n);
            button->SetDown(false);
            connect(button, &TSpeedButton::mouseDown, this,
                    [this](TSpeedButton* sender, Qt::MouseButton b, Qt::KeyboardModifiers shift,
                           int x, int y) {
                        platform::Guarded([&] { SpeedButtonMouseDown(sender, b, shift, x, y); });
                    });
        }
    }
}

TSpeedButton* TFormMainWindow::GlyphButton(int n) const {
    return findChild<TSpeedButton*>(QString("SpeedButtonDyn%1").arg(n), Qt::FindDirectChildrenOnly);
}

void TFormMainWindow::HideGlyphButtons(int from) {
    for (int n = std::max(from, 1); n <= GlyphsPerPage; ++n)
        GlyphButton(n)->setVisible(false);
}

bool TFormMainWindow::ShowsListedFile(const QObject* button) const {
    for (int n = 1; n <= listedGlyphs_; ++n)
        if (GlyphButton(n) == button)
            return true;
    return false;
}

TSpeedButton* TFormMainWindow::FindGlyphButton(const std::string& name) {
    const std::string wanted = UpperCaseGerman(name);
    for (QObject* child : children()) {
        auto* button = qobject_cast<TSpeedButton*>(child);
        if (button && UpperCaseGerman(button->Hint()) == wanted)
            return button;
    }
    return nullptr;
}
