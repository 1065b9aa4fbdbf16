// The pages: loading a directory, counting its glyph files, filling a page
// with them, the page commands, and showing the page model (PageModel.h).
// No list of files is kept: every count and every page fill reads the
// directory again.
#include "app/Glyph_MW.h"

#include "app/AppPaths.h"
#include "app/Forms.h"
#include "controls/FiLabel.h"
#include "dialogs/Glyph_Dir.h"
#include "fileutils/FileUtils.h"
#include "platform/Find.h"
#include "platform/ui/GlyphBitmap.h"
#include "platform/ui/Label.h"
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

void TFormMainWindow::LoadDirectory(const std::string& path) {
    const std::string dir = DirectoryToShow(path);
    pages_.EnterDirectory(dir, CountGlyphFiles(dir));
    // A fill that stops at a bad file leaves the page where it was.
    int filled = 0;
    ShowPage(1, filled);
    pages_.FirstPageFilled(filled);
}

// The directory asked for; else the program's own folder (or the installed
// samples); else the root of C:.
std::string TFormMainWindow::DirectoryToShow(const std::string& path) {
    if (DirectoryExists(path))
        return AddBackslash(path);
    if (DirectoryExists(DataFolder()))
        return DataFolder();
    return "C:\\";
}

void TFormMainWindow::ShowModel() {
    FileLabel1->SetFileName(RemoveBackslash(pages_.CurrentDir()));
    LabelAnzahl->SetCaption(std::to_string(pages_.GlyphCount()) + " Glyph(s)");
    UpdatePageButtons();
}

int TFormMainWindow::CountGlyphFiles(const std::string& dir) {
    ProgressBar1->SetPosition(0);
    int count = 0;
    platform::TSearchRec rec;
    for (int r = platform::FindFirst(dir + kGlyphMask, platform::faAnyFile, rec); r == 0;
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
    const std::string& dir = pages_.CurrentDir();
    const int count = pages_.GlyphCount();
    if (count > 0 && (start < 1 || start > count))
        return false;
    ProgressBar1->SetPosition(0);
    listedGlyphs_ = 0;
    platform::TSearchRec rec;
    int r = platform::FindFirst(dir + kGlyphMask, platform::faAnyFile, rec);
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
        const QImage bitmap = platform::LoadBitmapFromFile(dir + rec.Name);
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

// The bar counts entries as an activity display, so it wraps at its maximum.
void TFormMainWindow::StepProgress() {
    ProgressBar1->SetPosition(
        static_cast<std::int16_t>(ProgressBar1->Position() + ProgressBar1->Step()));
    if (ProgressBar1->Position() == ProgressBar1->Max())
        ProgressBar1->SetPosition(ProgressBar1->Min());
}

void TFormMainWindow::UpdatePageButtons() {
    SpeedButtonFirst->setEnabled(pages_.CanGoBack());
    SpeedButtonPrevious->setEnabled(pages_.CanGoBack());
    SpeedButtonNext->setEnabled(pages_.CanGoOn());
    SpeedButtonLast->setEnabled(pages_.CanGoOn());
}

// Releases all glyphs, fills the page from where the command starts and, when
// the fill came to its end, tells the model (a failure leaves it as it was).
void TFormMainWindow::RunPageCommand(TPageModel::Step step) {
    UnpushAll1Click(this);
    int filled = 0;
    const bool shown = ShowPage(pages_.StartOf(step), filled);
    pages_.PageCommandDone(step, shown, filled);
}

void TFormMainWindow::SpeedButtonFirstClick(QObject*) {
    RunPageCommand(TPageModel::Step::First);
}

void TFormMainWindow::SpeedButtonPreviousClick(QObject*) {
    RunPageCommand(TPageModel::Step::Previous);
}

void TFormMainWindow::SpeedButtonNextClick(QObject*) {
    RunPageCommand(TPageModel::Step::Next);
}

void TFormMainWindow::SpeedButtonLastClick(QObject*) {
    RunPageCommand(TPageModel::Step::Last);
}

void TFormMainWindow::SpeedButtonDirectoryClick(QObject*) {
    if (!OSDialog)
        return;
    if (OSDialog->Execute(2, "Select Directory", kGlyphMask, platform::faAnyFile, 0, 0) == 1) {
        UnpushAll1Click(this);
        LoadDirectory(AddBackslash(OSDialog->ResultPath()));
    }
}
