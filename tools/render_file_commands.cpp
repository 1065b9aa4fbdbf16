// Renders the glyph menu's file commands to PNG files for a look at them:
// the rename input box, the extension and overwrite questions, the All
// Pushed question, a deletion error with Abort and Ignore, and the page with
// gaps after the deletion. Works on copies of the sample glyphs in a temp
// directory, so nothing beside the program changes.
//
//   render_file_commands OUTDIR
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>

#include "Shots.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "fileutils/FormatSettings.h"
#include "platform/Drives.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/SpeedButton.h"

namespace fs = std::filesystem;

namespace {

QString outputDir;

// Grabs each modal dialog as it comes up, then answers it: one step per
// dialog, in order.
class Responder {
public:
    struct Step {
        const char* picture; // nullptr: answer without a picture
        std::function<void(QWidget*)> answer;
    };
    Responder() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(50);
    }
    void Then(Step step) { steps_.push_back(std::move(step)); }

private:
    void Poll() {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible() || dialog == last_ || steps_.empty())
            return;
        last_ = dialog;
        Step step = std::move(steps_.front());
        steps_.pop_front();
        if (step.picture)
            shots::Save(dialog, outputDir, step.picture);
        // Answered from the event queue: a button may open the next dialog.
        QTimer::singleShot(0, dialog,
                           [dialog, answer = std::move(step.answer)] { answer(dialog); });
    }
    QTimer timer_;
    QWidget* last_ = nullptr;
    std::deque<Step> steps_;
};

std::function<void(QWidget*)> Press(const char* button) {
    return [button](QWidget* dialog) {
        if (auto* b = dialog->findChild<QPushButton*>(button))
            b->click();
        else
            dialog->close();
    };
}

std::function<void(QWidget*)> TypeAndOk(const char* text) {
    return [text](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("Edit")->setText(text);
        Press("OK")(dialog);
    };
}

// A temp directory holding copies of the sample glyphs beside the program.
fs::path CopySamples() {
    const fs::path dir = fs::temp_directory_path() / "sporvik-render-files";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string host;
    platform::ToHostPath(TFormMainWindow::ProgramDirectory(), host);
    for (const auto& entry : fs::directory_iterator(host))
        if (entry.path().extension() == ".bmp" && fs::file_size(entry.path()) > 0)
            fs::copy_file(entry.path(), dir / entry.path().filename());
    return dir;
}

void RunOn(TFormMainWindow& w, TMenuItem* item, int glyph) {
    w.PopUpMenuGlyphs->SetPopupComponent(w.GlyphButton(glyph));
    item->Click();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::UseClassicLook();
    outputDir = shots::OutputDir(argc, argv);
    InitFormatSettings();

    const fs::path dir = CopySamples();
    TFormMainWindow w;
    FormMainWindow = &w;
    w.LoadDirectory(platform::ToWindowsPath(dir.string()));
    w.show();
    if (w.Pages().GlyphCount() < 6) {
        std::fprintf(stderr, "too few sample glyphs in %s\n", dir.c_str());
        return 1;
    }

    Responder responder;
    // Rename the first glyph to "icon": the input box, then the extension
    // question, answered No.
    responder.Then({"rename-input", TypeAndOk("icon")});
    responder.Then({"rename-extension", Press("No")});
    RunOn(w, w.Rename1, 1);

    // Rename it onto the second glyph: the overwrite question, answered No.
    const std::string second = w.GlyphButton(2)->Hint();
    responder.Then({nullptr, TypeAndOk(second.c_str())});
    responder.Then({"rename-overwrite", Press("No")});
    RunOn(w, w.Rename1, 1);

    // Delete three pushed glyphs, the middle one read-only: the question,
    // then the error with Abort and Ignore, answered Ignore.
    for (int n : {2, 4, 6})
        w.GlyphButton(n)->SetDown(true);
    fs::permissions(dir / w.GlyphButton(4)->Hint(), fs::perms::owner_write,
                    fs::perm_options::remove);
    responder.Then({"delete-all-pushed", Press("Yes")});
    responder.Then({"delete-error-abort-ignore", Press("Ignore")});
    RunOn(w, w.AllPushed1, 2);
    shots::Save(&w, outputDir, "main-window-gaps");

    FormMainWindow = nullptr;
    return 0;
}
