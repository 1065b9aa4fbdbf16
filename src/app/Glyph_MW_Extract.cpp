// The extract command: choose an executable, carve the bitmaps stored in it
// into numbered .bmp files beside it, and show that directory.
#include "app/Glyph_MW.h"

#include "app/Forms.h"
#include "controls/SearchProgress.h"
#include "dialogs/Glyph_Dir.h"
#include "extract/Extractor.h"
#include "fileutils/PathParts.h"
#include "messages/QZdialog.h"
#include "platform/Find.h"
#include "platform/ui/ModalResult.h"
#include "platform/ui/ProgressBar.h"

namespace {

constexpr int kHelpContextExtract = 11;

OverwriteAnswer AskOverwrite(const std::string& fileName) {
    switch (MessageDialog(OverwriteQuestion(NamePart(fileName)), MessageKind::Confirmation,
                          {MessageButton::Yes, MessageButton::No, MessageButton::All},
                          MessageButton::No)) {
    case mrNo:
        return OverwriteAnswer::No;
    case mrAll:
        return OverwriteAnswer::All;
    case mrYes:
        return OverwriteAnswer::Yes;
    default: // closed through the title bar
        return OverwriteAnswer::Closed;
    }
}

} // namespace

void TFormMainWindow::SpeedButtonExtractClick(QObject* sender) {
    if (!OSDialog)
        return;
    if (OSDialog->Execute(0, "Extract bitmaps from .EXE file", "*.exe", platform::faAnyFile,
                          kHelpContextExtract, 0) != 1)
        return;
    ExtractBitmapsFrom(OSDialog->ResultPath(), sender);
}

void TFormMainWindow::ExtractBitmapsFrom(const std::string& exePath, QObject* sender) {
    UnpushAll1Click(sender);
    ExtractHooks hooks;
    hooks.askOverwrite = AskOverwrite;
    hooks.reportError = [](const std::string& message) { ShowError(message); };
    hooks.progress = ProgressShownOn(ProgressBar1);
    TBitmapExtractor extractor(exePath, hooks);
    const ExtractOutcome outcome = extractor.Run();
    if (!outcome.opened)
        return;
    LoadDirectory(extractor.OutputDirectory());
    // A scan cut short by a read failure was told as such; it did not find
    // nothing.
    if (outcome.taken == 0 && outcome.readError == 0)
        ShowInformation("No bitmaps found.");
}
