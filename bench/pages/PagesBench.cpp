// Speed of the page model on a large directory: loading 10,000 glyphs (a
// count walk and the first page) and jumping from page 1 to the last page
// (a walk that skips to the last entries).
//
//   build/bin/sporvik_bench_pages --benchmark_repetitions=5
#include <QApplication>
#include <QColor>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "platform/Drives.h"
#include "platform/FileOps.h"

namespace fs = std::filesystem;

namespace {

constexpr int kGlyphs = 10000;

struct GlyphDirectory {
    fs::path base;
    GlyphDirectory() {
        std::string pattern = (fs::temp_directory_path() / "sporvik-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        base = pattern;
        const fs::path prog = base / "C" / "prog";
        fs::create_directories(prog);
        QImage img(16, 16, QImage::Format_RGB888);
        img.fill(QColor(0, 0, 160));
        img.setPixelColor(0, 15, QColor(128, 128, 0));
        img.save(QString::fromStdString((prog / "g00001.bmp").string()), "BMP");
        for (int i = 2; i <= kGlyphs; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "g%05d.bmp", i);
            fs::copy_file(prog / "g00001.bmp", prog / name);
        }
        platform::DriveTable table;
        table.roots['C'] = (base / "C").string();
        platform::SetDriveTable(table);
        platform::SetProgramPath("C:\\prog\\Sporvik.exe");
    }
    ~GlyphDirectory() {
        std::error_code ec;
        fs::remove_all(base, ec);
    }
};

TFormMainWindow* g_window = nullptr;

void BM_LoadDirectory(benchmark::State& state) {
    for (auto _ : state)
        g_window->LoadDirectory("C:\\prog\\");
    state.counters["glyphs"] = g_window->GlyphCount;
}
BENCHMARK(BM_LoadDirectory)->Unit(benchmark::kMillisecond);

void BM_LastPageFromFirstPage(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        g_window->SpeedButtonFirstClick(g_window);
        state.ResumeTiming();
        g_window->SpeedButtonLastClick(g_window);
    }
    state.counters["first_shown"] = g_window->FirstShown;
}
BENCHMARK(BM_LastPageFromFirstPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    GlyphDirectory dir;
    TFormMainWindow window;
    FormMainWindow = g_window = &window;
    window.show(); // as in the running program: the progress bar paints
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FormMainWindow = nullptr;
    return 0;
}
