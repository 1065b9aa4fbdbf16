// The page model: which directory is shown, how many glyph files it holds,
// which of them are on the page, and the page commands. No list of files is
// kept: every count and every page fill reads the directory again.
#include "app/Glyph_MW.h"

#include "app/AppPaths.h"
#include "app/Forms.h"
#include "controls/FiLabel.h"
#include "dialogs/Glyph_Dir.h"
#include "extract/GermanCase.h"
#include "fileutils/FileUtils.h"
#include "platform/Find.h"
#include "platform/ui/GlyphBitmap.h"
#include "platform/ui/Label.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/SpeedButton.h"

namespace {

constexpr const char* kGlyphMask = "*.bmp";

// Every image of a glyph is taken to be 16 pixels wide; a narrower bitmap
// leaves the button's count as it was.
int ImageCountFor(const QImage& bitmap, int previous) {
    const int count = bitmap.width() / 16;
    if (count == 0)
        return previous;
    return std::min(count, 4);
}

} // namespace

TSpeedButton* TFormMainWindow::GlyphButton(int n) const {
    return findChild<TSpeedButton*>(QString("SpeedButtonDyn%1").arg(n), Qt::FindDirectChildrenOnly);
}

void TFormMainWindow::LoadDirectory(const std::string& path) {
    if (DirectoryExists(path))
        CurrentDir = AddBackslash(path);
    else if (DirectoryExists(DataFolder()))
        CurrentDir = DataFolder(); // the program's own folder, or the installed samples
    else
        CurrentDir = "C:\\";
    GlyphCount = 0;
    GlyphCount = CountGlyphFiles();
    FileLabel1->SetFileName(RemoveBackslash(CurrentDir));
    ShowGlyphCount();
    int filled = 0;
    ShowPage(1, filled);
    FirstShown = 1;
    LastShown = filled;
    UpdatePageButtons();
    RefillPending = false;
}

void TFormMainWindow::ShowGlyphCount() {
    LabelAnzahl->SetCaption(std::to_string(GlyphCount) + " Glyph(s)");
}

int TFormMainWindow::CountGlyphFiles() {
    ProgressBar1->SetPosition(0);
    int count = 0;
    platform::TSearchRec rec;
    for (int r = platform::FindFirst(CurrentDir + kGlyphMask, platform::faAnyFile, rec); r == 0;
         r = platform::FindNext(rec)) {
        StepProgress();
        ++count;
    }
    platform::FindClose(rec);
    ProgressBar1->SetPosition(0);
    return count;
}

bool TFormMainWindow::ShowPage(int start, int& filled) {
    filled = 0;
    if (GlyphCount > 0 && (start < 1 || start > GlyphCount))
        return false;
    ProgressBar1->SetPosition(0);
    listedGlyphs_ = 0;
    platform::TSearchRec rec;
    int r = platform::FindFirst(CurrentDir + kGlyphMask, platform::faAnyFile, rec);
    if (r != 0) {
        HideGlyphButtons(1);
        return false;
    }
    for (int skipped = 1; skipped < start && r == 0; ++skipped) {
        StepProgress();
        r = platform::FindNext(rec);
    }
    // A glyph that cannot be loaded ends the command here: the buttons filled
    // so far keep their glyphs, the bad file's button stays as it was.
    while (r == 0 && filled < GlyphsPerPage) {
        StepProgress();
        TSpeedButton* button = GlyphButton(filled + 1);
        const QImage bitmap = platform::LoadBitmapFromFile(CurrentDir + rec.Name);
        ++filled;
        button->SetGlyph(bitmap);
        button->SetNumGlyphs(ImageCountFor(bitmap, button->NumGlyphs()));
        button->SetHint(rec.Name);
        button->setVisible(true);
        listedGlyphs_ = filled;
        r = platform::FindNext(rec);
    }
    platform::FindClose(rec);
    HideGlyphButtons(filled + 1);
    ProgressBar1->SetPosition(0);
    return true;
}

bool TFormMainWindow::ShowsListedFile(const QObject* button) const {
    for (int n = 1; n <= listedGlyphs_; ++n)
        if (GlyphButton(n) == button)
            return true;
    return false;
}

void TFormMainWindow::HideGlyphButtons(int from) {
    for (int n = std::max(from, 1); n <= GlyphsPerPage; ++n)
        GlyphButton(n)->setVisible(false);
}

// The bar counts entries as an activity display, so it wraps at its maximum.
void TFormMainWindow::StepProgress() {
    ProgressBar1->SetPosition(
        static_cast<std::int16_t>(ProgressBar1->Position() + ProgressBar1->Step()));
    if (ProgressBar1->Position() == ProgressBar1->Max())
        ProgressBar1->SetPosition(ProgressBar1->Min());
}

void TFormMainWindow::UpdatePageButtons() {
    SpeedButtonFirst->setEnabled(FirstShown > 1);
    SpeedButtonPrevious->setEnabled(FirstShown > 1);
    SpeedButtonNext->setEnabled(LastShown < GlyphCount);
    SpeedButtonLast->setEnabled(LastShown < GlyphCount);
}

void TFormMainWindow::RunPageCommand(int start, const std::function<void(int filled)>& onFilled) {
    UnpushAll1Click(this);
    int filled = 0;
    if (ShowPage(start, filled))
        onFilled(filled);
    UpdatePageButtons();
    RefillPending = false;
}

void TFormMainWindow::SpeedButtonFirstClick(QObject*) {
    RunPageCommand(1, [this](int filled) {
        FirstShown = 1;
        LastShown = filled;
    });
}

void TFormMainWindow::SpeedButtonPreviousClick(QObject*) {
    RunPageCommand(FirstShown - GlyphsPerPage, [this](int filled) {
        LastShown = FirstShown - 1;
        FirstShown = FirstShown - filled;
    });
}

void TFormMainWindow::SpeedButtonNextClick(QObject*) {
    if (RefillPending) {
        RunPageCommand(FirstShown, [this](int filled) { LastShown = FirstShown + filled - 1; });
        return;
    }
    RunPageCommand(LastShown + 1, [this](int filled) {
        FirstShown = LastShown + 1;
        LastShown = LastShown + filled;
    });
}

void TFormMainWindow::SpeedButtonLastClick(QObject*) {
    const int pages = GlyphCount / GlyphsPerPage;
    const int start = GlyphCount % GlyphsPerPage == 0 ? GlyphsPerPage * (pages - 1) + 1
                                                      : GlyphsPerPage * pages + 1;
    RunPageCommand(start, [this, start](int) {
        FirstShown = start;
        LastShown = GlyphCount;
    });
}

void TFormMainWindow::SpeedButtonDirectoryClick(QObject*) {
    if (!OSDialog)
        return;
    if (OSDialog->Execute(2, "Select Directory", kGlyphMask, platform::faAnyFile, 0, 0) == 1) {
        UnpushAll1Click(this);
        LoadDirectory(AddBackslash(OSDialog->ResultPath()));
    }
}

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

TSpeedButton* TFormMainWindow::FindGlyphButton(const std::string& name) {
    const std::string wanted = UpperCaseGerman(name);
    for (QObject* child : children()) {
        auto* button = qobject_cast<TSpeedButton*>(child);
        if (button && UpperCaseGerman(button->Hint()) == wanted)
            return button;
    }
    return nullptr;
}
