// Speed of the file selection dialog on large directories: opening it (both
// lists read, the dialog shown and painted once) on a directory of 10,000
// files and on one of 1,000 subdirectories, and changing the mask over the
// 10,000 files (each change reads the list again).
//
//   build/bin/sporvik_bench_dialog --benchmark_repetitions=5
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ScratchDrive.h"
#include "dialogs/Glyph_Dir.h"
#include "platform/Drives.h"
#include "platform/ui/Application.h"
#include "platform/ui/FileListBox.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 10000;
constexpr int kDirectories = 1000;

struct ScratchDrive {
    bench::ScratchDrive drive;
    fs::path base = drive.Base();
    ScratchDrive() {
        const fs::path files = base / "C" / "files", dirs = base / "C" / "dirs";
        fs::create_directories(files);
        for (int i = 1; i <= kFiles; ++i)
            std::ofstream(files / ("g" + std::to_string(100000 + i) + ".bmp")) << "BM";
        for (int i = 1; i <= kDirectories; ++i)
            fs::create_directories(dirs / ("d" + std::to_string(10000 + i)));
    }
};

TOSDialog* g_dialog = nullptr;

// Opens the dialog as the directory command does and closes it as soon as
// it has painted once.
void OpenOnce() {
    QTimer::singleShot(0, g_dialog, [] {
        g_dialog->repaint();
        g_dialog->done(2);
    });
    g_dialog->Execute(2, "Select Directory", "*.bmp", 63, 0, 0);
}

void BM_OpenOnTenThousandFiles(benchmark::State& state) {
    g_dialog->SetStartDirectory("C:\\files\\");
    for (auto _ : state)
        OpenOnce();
    state.counters["files"] = g_dialog->FileListBox1->count();
}
BENCHMARK(BM_OpenOnTenThousandFiles)->Unit(benchmark::kMillisecond);

void BM_OpenOnAThousandDirectories(benchmark::State& state) {
    g_dialog->SetStartDirectory("C:\\dirs\\");
    for (auto _ : state)
        OpenOnce();
}
BENCHMARK(BM_OpenOnAThousandDirectories)->Unit(benchmark::kMillisecond);

void BM_ChangeMaskOverTenThousandFiles(benchmark::State& state) {
    g_dialog->SetStartDirectory("C:\\files\\");
    g_dialog->show();
    bool flip = false;
    for (auto _ : state) {
        g_dialog->ComboBoxFilter->setEditText((flip = !flip) ? "*.b*" : "*.bmp");
        g_dialog->FileListBox1->repaint();
    }
    g_dialog->hide();
    state.counters["files"] = g_dialog->FileListBox1->count();
}
BENCHMARK(BM_ChangeMaskOverTenThousandFiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    platform::UseClassicLook();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ScratchDrive drive;
    TOSDialog dialog;
    g_dialog = &dialog;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
