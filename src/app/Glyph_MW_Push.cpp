// Push state and the disabled look of the glyphs. Each glyph button is a
// toggle of its own group, so pushing one never touches another; the push
// state belongs to the button position, not to the file shown on it.
#include "app/Glyph_MW.h"

#include "platform/ui/SpeedButton.h"

void TFormMainWindow::PushAll1Click(QObject*) {
    // Only glyph buttons have a group, so only they can go down.
    for (QObject* child : children())
        if (auto* button = qobject_cast<TSpeedButton*>(child); button && !button->isHidden())
            button->SetDown(true);
}

void TFormMainWindow::UnpushAll1Click(QObject*) {
    for (QObject* child : children())
        if (auto* button = qobject_cast<TSpeedButton*>(child); button && button->Down())
            button->SetDown(false);
}

void TFormMainWindow::SpeedButtonDisableClick(QObject*) {
    if (SpeedButtonDisable->Tag() != 0) {
        SpeedButtonDisable->SetHint("Disable Glyphs");
        SpeedButtonDisable->SetTag(0);
    } else {
        SpeedButtonDisable->SetHint("Enable Glyphs");
        SpeedButtonDisable->SetTag(1);
    }
    for (int n = 1; n <= GlyphsPerPage; ++n)
        GlyphButton(n)->setEnabled(SpeedButtonDisable->Tag() == 0);
}
