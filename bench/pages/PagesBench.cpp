// Speed of the page model on large directories of 1,000, 10,000 and 100,000
// glyphs: opening the directory (a count walk and the first page) and each
// page command from the place where it walks farthest. The window is shown,
// as in the running program, so the progress bar paints while it steps.
//
//   build/bin/sporvik_bench_pages --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <QApplication>
#include <QColor>
#include <QImage>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "ScratchDrive.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "platform/Drives.h"
#include "platform/FileOps.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSizes[] = {1000, 10000, 100000};

// C:\prog holds the program and no glyph; C:\g<N> holds N 16 x 16 glyphs.
struct GlyphDirectories {
    bench::ScratchDrive drive;
    fs::path base = drive.Base();
    GlyphDirectories() {
        fs::create_directories(base / "C" / "prog");
        for (int size : kSizes)
            Fill(base / "C" / ("g" + std::to_string(size)), size);
        platform::SetProgramPath("C:\\prog\\Sporvik.exe");
        // A collection is opened long after it was written; let the last
        // writes settle so that the directories look that way.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }

    static void Fill(const fs::path& dir, int count) {
        fs::create_directories(dir);
        QImage img(16, 16, QImage::Format_RGB888);
        img.fill(QColor(0, 0, 160));
        img.setPixelColor(0, 15, QColor(128, 128, 0));
        img.save(QString::fromStdString((dir / "g000001.bmp").string()), "BMP");
        for (int i = 2; i <= count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "g%06d.bmp", i);
            fs::copy_file(dir / "g000001.bmp", dir / name);
        }
    }
};

TFormMainWindow* g_window = nullptr;

std::string GlyphDir(const benchmark::State& state) {
    return "C:\\g" + std::to_string(state.range(0)) + "\\";
}

void Report(benchmark::State& state) {
    state.counters["glyphs"] = g_window->Pages().GlyphCount();
    state.counters["first_shown"] = g_window->Pages().FirstShown();
}

// Opening a directory not shown before: the program shows another one first.
void BM_LoadDirectory(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        g_window->LoadDirectory("C:\\prog\\");
        state.ResumeTiming();
        g_window->LoadDirectory(GlyphDir(state));
    }
    Report(state);
}

void BM_FirstPageFromLastPage(benchmark::State& state) {
    g_window->LoadDirectory(GlyphDir(state));
    for (auto _ : state) {
        state.PauseTiming();
        g_window->SpeedButtonLastClick(g_window);
        state.ResumeTiming();
        g_window->SpeedButtonFirstClick(g_window);
    }
    Report(state);
}

void BM_PreviousPageFromLastPage(benchmark::State& state) {
    g_window->LoadDirectory(GlyphDir(state));
    for (auto _ : state) {
        state.PauseTiming();
        g_window->SpeedButtonLastClick(g_window);
        state.ResumeTiming();
        g_window->SpeedButtonPreviousClick(g_window);
    }
    Report(state);
}

void BM_NextPageToLastPage(benchmark::State& state) {
    g_window->LoadDirectory(GlyphDir(state));
    for (auto _ : state) {
        state.PauseTiming();
        g_window->SpeedButtonLastClick(g_window);
        g_window->SpeedButtonPreviousClick(g_window);
        state.ResumeTiming();
        g_window->SpeedButtonNextClick(g_window);
    }
    Report(state);
}

void BM_LastPageFromFirstPage(benchmark::State& state) {
    g_window->LoadDirectory(GlyphDir(state));
    for (auto _ : state) {
        state.PauseTiming();
        g_window->SpeedButtonFirstClick(g_window);
        state.ResumeTiming();
        g_window->SpeedButtonLastClick(g_window);
    }
    Report(state);
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int size : kSizes)
        b->Arg(size);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_LoadDirectory)->Apply(Sizes);
BENCHMARK(BM_FirstPageFromLastPage)->Apply(Sizes);
BENCHMARK(BM_PreviousPageFromLastPage)->Apply(Sizes);
BENCHMARK(BM_NextPageToLastPage)->Apply(Sizes);
BENCHMARK(BM_LastPageFromFirstPage)->Apply(Sizes);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    GlyphDirectories dirs;
    TFormMainWindow window;
    FormMainWindow = g_window = &window;
    window.show(); // as in the running program: the progress bar paints
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FormMainWindow = nullptr;
    return 0;
}
