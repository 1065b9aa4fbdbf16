// Renders the extract command to PNG files for a look at it: the main
// window while the scan moves the bar, the overwrite question, and the
// window showing the carved glyphs afterwards. The executable is made in a
// scratch directory from sample glyphs beside the program, spread over 8 MiB
// of filler so the scan takes a while.
//
//   render_extract OUTDIR
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "Shots.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "extract/Extractor.h"
#include "fileutils/FormatSettings.h"
#include "platform/Drives.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/SpeedButton.h"

namespace fs = std::filesystem;

namespace {

// tool.exe in a fresh scratch directory: up to 20 sample glyphs between
// stretches of filler, and a 1.bmp already there so the question comes up.
std::string MakeExecutable(const std::string& programDir) {
    const fs::path dir = fs::temp_directory_path() / "sporvik-render-extract";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string host;
    platform::ToHostPath(programDir, host);
    std::mt19937 rng(3);
    auto filler = [&rng](std::size_t n) {
        std::string s(n, ' ');
        for (char& c : s)
            c = static_cast<char>('C' + rng() % 60); // never a 'B'
        return s;
    };
    std::ofstream exe(dir / "tool.exe", std::ios::binary);
    int stored = 0;
    for (const auto& entry : fs::directory_iterator(host)) {
        if (entry.path().extension() != ".bmp" || stored == 20)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        if (bytes.str().size() < 54 || bytes.str().size() > 5000)
            continue;
        exe << filler(400 * 1024) << bytes.str();
        if (++stored == 1)
            fs::copy_file(entry.path(), dir / "1.bmp");
    }
    exe << filler(400 * 1024);
    return platform::ToWindowsPath((dir / "tool.exe").string());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::UseClassicLook();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("shots");
    QDir().mkpath(out);
    InitFormatSettings();
    BitmapFileNumber = 0;

    TFormMainWindow w;
    FormMainWindow = &w;
    w.show();
    const std::string exe = MakeExecutable(TFormMainWindow::ProgramDirectory());

    // Once, when the bar has passed half of the file.
    bool scanning = false;
    QObject::connect(w.ProgressBar1, &TProgressBar::positionChanged, [&](int position) {
        if (!scanning && position >= 50) {
            scanning = true;
            shots::SavePlain(&w, out, "extract-scanning.png");
        }
    });
    // The question: drawn, then answered All.
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        shots::SavePlain(dialog, out, "extract-overwrite-question.png");
        if (auto* all = dialog->findChild<QWidget*>("All"))
            QMetaObject::invokeMethod(all, "click");
        else
            dialog->close();
    });
    answer.start();
    w.ExtractBitmapsFrom(exe, w.SpeedButtonExtract);
    answer.stop();
    shots::SavePlain(&w, out, "extract-done.png");
    FormMainWindow = nullptr;
    return 0;
}
