// The glyph menu, opened by a right click on a glyph button, and its file
// commands: rename, delete and copy to the clipboard. Each acts on the glyph
// button the menu was opened on and keeps the page in step without reading
// the directory again: a deleted glyph's button is hidden and the count goes
// down, a renamed one keeps its picture and place under its new name.
#include "app/Glyph_MW.h"

#include "extract/GermanCase.h"
#include "fileutils/FileUtils.h"
#include "fileutils/IoErrorText.h"
#include "messages/QZdialog.h"
#include "platform/FileOps.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/SpeedButton.h"

namespace {

using MB = MessageButton;

std::string DeleteErrorText(const std::string& name, int errorCode) {
    return "Error deleting\r\n" + name + "\r\n" + IoErrorText(errorCode);
}

// The colon names a drive, the backslash a directory; the host also takes
// the forward slash as a separator.
bool LeavesDirectory(const std::string& name) {
    return name.find_first_of(":\\/") != std::string::npos;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return UpperCaseGerman(a) == UpperCaseGerman(b);
}

// The part from the last full stop on, upper-cased, is ".BMP".
bool HasBmpExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && UpperCaseGerman(name.substr(dot)) == ".BMP";
}

// Another file holds the new name. A wildcard names no file, and the glyph
// itself, found again by a look-up that folds more letters than ours, is
// not another file: replacing it would delete the glyph.
bool OtherFileExists(const std::string& oldPath, const std::string& newPath) {
    return newPath.find_first_of("*?") == std::string::npos && FileExists(newPath) &&
           !platform::SameFile(oldPath, newPath);
}

// Moves the glyph file; with `replace` a file of the new name gives way in
// the same step, so a failure leaves both files as they were. A directory
// that took the glyph's place behind our back is not moved.
bool MoveGlyphFile(const std::string& from, const std::string& to, bool replace) {
    if (!FileExists(from))
        return false;
    return (replace ? platform::ReplaceFile(from, to) : platform::RenameFile(from, to)) == 0;
}

} // namespace

void TFormMainWindow::SpeedButtonMouseDown(QObject* sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers, int x, int y) {
    if (button != Qt::RightButton)
        return;
    auto* widget = qobject_cast<QWidget*>(sender);
    if (!widget || !ShowsListedFile(widget))
        return;
    const QPoint screen = widget->mapToGlobal(QPoint(x, y));
    PopUpMenuGlyphs->SetPopupComponent(sender);
    PopUpMenuGlyphs->Popup(screen.x(), screen.y());
}

TSpeedButton* TFormMainWindow::ActingGlyph() const {
    QObject* component = PopUpMenuGlyphs->PopupComponent();
    return ShowsListedFile(component) ? qobject_cast<TSpeedButton*>(component) : nullptr;
}

// Asks for the new name; false when the user gives none to act on.
bool TFormMainWindow::AskNewName(const std::string& oldName, std::string& newName) {
    newName = oldName;
    if (!InputDialog("Rename File", "Enter New Name:", newName, 0))
        return false;
    if (LeavesDirectory(newName)) {
        ShowError("Can only rename in same directory.");
        return false;
    }
    if (SameNameIgnoringCase(newName, oldName))
        return false;
    if (!HasBmpExtension(newName)) {
        if (!Confirm("Extension .bmp for new file name required.\r\nAppend to " + newName + " ?",
                     MB::Yes))
            return false;
        newName += ".bmp";
        if (SameNameIgnoringCase(newName, oldName))
            return false;
    }
    return true;
}

void TFormMainWindow::Rename1Click(QObject*) {
    TSpeedButton* acting = ActingGlyph();
    if (!acting)
        return;
    const std::string oldName = acting->Hint();
    std::string newName;
    if (!AskNewName(oldName, newName))
        return;
    const std::string oldPath = pages_.CurrentDir() + oldName;
    const std::string newPath = pages_.CurrentDir() + newName;
    const bool replace = OtherFileExists(oldPath, newPath);
    TSpeedButton* target = nullptr;
    if (replace) {
        if (!Confirm(OverwriteQuestion(newName), MB::No))
            return;
        target = FindGlyphButton(newName);
        // The target is only looked at here; it goes when the glyph takes
        // its place, so a rename that fails cannot cost it.
        int errorCode = 0;
        if (!CanDeleteFile(newPath, errorCode)) {
            ShowError(DeleteErrorText(newName, errorCode));
            return;
        }
    }
    if (!MoveGlyphFile(oldPath, newPath, replace)) {
        ShowError("Error renaming\r\n" + oldName + " to\r\n" + newName);
        return;
    }
    if (replace) {
        // The file it replaced is gone; the glyph keeps its own place.
        if (target)
            target->setVisible(false);
        pages_.GlyphsGone(1, false);
    }
    acting->SetHint(newName);
}

void TFormMainWindow::ThisGlyph1Click(QObject*) {
    TSpeedButton* acting = ActingGlyph();
    if (!acting)
        return;
    const std::string name = acting->Hint();
    if (!Confirm("Delete " + name + ".\r\nAre you sure?", MB::No))
        return;
    int errorCode = 0;
    if (!TryDeleteFile(pages_.CurrentDir() + name, errorCode)) {
        ShowError(DeleteErrorText(name, errorCode));
        return;
    }
    acting->setVisible(false);
    pages_.GlyphsGone(1, true);
}

std::vector<TSpeedButton*> TFormMainWindow::PushedGlyphs() const {
    // Only glyph buttons can be down, a hidden one no longer holds a glyph,
    // and one left over from before a failed fill holds no file of the page.
    std::vector<TSpeedButton*> pushed;
    for (QObject* child : children())
        if (auto* button = qobject_cast<TSpeedButton*>(child);
            button && !button->isHidden() && button->Down() && ShowsListedFile(button))
            pushed.push_back(button);
    return pushed;
}

void TFormMainWindow::AllPushed1Click(QObject*) {
    const std::vector<TSpeedButton*> pushed = PushedGlyphs();
    if (pushed.empty())
        return;
    if (!Confirm("Really delete " + std::to_string(pushed.size()) + " glyph(s)", MB::No))
        return;
    int deleted = 0;
    for (TSpeedButton* button : pushed) {
        int errorCode = 0;
        if (TryDeleteFile(pages_.CurrentDir() + button->Hint(), errorCode)) {
            button->setVisible(false);
            ++deleted;
            continue;
        }
        // Abort stops here; Ignore, Escape and the close box go on.
        if (ErrorAborts(DeleteErrorText(button->Hint(), errorCode)))
            break;
    }
    pages_.GlyphsGone(deleted, deleted > 0);
}

void TFormMainWindow::AsName1Click(QObject*) {
    if (TSpeedButton* acting = ActingGlyph())
        platform::SetClipboardText(pages_.CurrentDir() + acting->Hint());
}

void TFormMainWindow::AsBitmap1Click(QObject*) {
    if (TSpeedButton* acting = ActingGlyph())
        platform::SetClipboardBitmap(acting->Glyph());
}
