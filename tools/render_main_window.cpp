// Renders the main window to PNG files for a look at it: on the sample glyphs
// beside the program, with glyphs pushed, with glyphs disabled, on a second
// page, and on a directory whose long path the path label must shorten.
//
//   render_main_window OUTDIR
#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <filesystem>

#include "Shots.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "fileutils/FormatSettings.h"
#include "platform/Drives.h"
#include "platform/Paths.h"
#include "platform/ui/SpeedButton.h"

namespace fs = std::filesystem;

namespace {

// A deep directory holding a copy of a few sample glyphs.
std::string MakeDeepDirectory(const std::string& programDir) {
    const fs::path deep = fs::temp_directory_path() / "sporvik-render" / "Work" / "Icons" /
                          "Toolbar Buttons" / "Large Set" / "Disabled States" / "Glyphs";
    fs::create_directories(deep);
    std::string host;
    platform::ToHostPath(programDir, host);
    int copied = 0;
    for (const auto& entry : fs::directory_iterator(host)) {
        if (entry.path().extension() == ".bmp" && copied < 12 && fs::file_size(entry.path()) > 0) {
            fs::copy_file(entry.path(), deep / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
            ++copied;
        }
    }
    return platform::ToWindowsPath(deep.string());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle("Windows");
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("shots");
    QDir().mkpath(out);
    InitFormatSettings();

    TFormMainWindow w;
    FormMainWindow = &w;
    w.show();
    shots::SavePlain(&w, out, "main-window.png");

    for (int n : {1, 4, 6, 11, 19, 32})
        w.GlyphButton(n)->SetDown(true);
    shots::SavePlain(&w, out, "main-window-pushed.png");

    w.SpeedButtonDisableClick(&w);
    shots::SavePlain(&w, out, "main-window-disabled.png");
    w.SpeedButtonDisableClick(&w);
    w.UnpushAll1Click(&w);

    w.SpeedButtonNextClick(&w);
    shots::SavePlain(&w, out, "main-window-page2.png");

    w.LoadDirectory(MakeDeepDirectory(TFormMainWindow::ProgramDirectory()));
    shots::SavePlain(&w, out, "main-window-long-path.png");
    FormMainWindow = nullptr;
    return 0;
}
