// What a page of the largest glyphs a bitmap may declare costs: 32 run-length
// encoded bitmaps of kMaxGlyphPixels each, loaded and painted. Reports the
// time of one page and the process's peak memory.
//
//   build/bin/sporvik_bench_glyphs --benchmark_repetitions=5
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>

#include "ScratchDrive.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "platform/Drives.h"
#include "platform/FileOps.h"
#include "platform/ui/BmpCheck.h"
#include "platform/ui/SpeedButton.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSide = 512; // kSide * kSide == kMaxGlyphPixels
static_assert(std::int64_t{kSide} * kSide == platform::kMaxGlyphPixels);

void Put32(std::string& b, unsigned v) {
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// An 8-bit run-length encoded bitmap: stripes of 16 colours, every row two runs.
std::string LargeRleBitmap(int seed) {
    std::string runs;
    for (int y = 0; y < kSide; ++y) {
        for (int half = 0; half < 2; ++half) {
            const int colour = (y / 8 + half + seed) % 16;
            runs += static_cast<char>(255);
            runs += static_cast<char>(colour);
            runs += static_cast<char>(1);
            runs += static_cast<char>(colour);
        }
        runs += std::string("\0\0", 2);
    }
    runs += std::string("\0\1", 2);
    std::string info;
    Put32(info, 40);
    Put32(info, kSide);
    Put32(info, kSide);
    Put32(info, 1 | (8 << 16)); // one plane, 8 bits
    Put32(info, 1);             // RLE8
    Put32(info, static_cast<unsigned>(runs.size()));
    Put32(info, 0);
    Put32(info, 0);
    Put32(info, 16);
    Put32(info, 0);
    for (unsigned i = 0; i < 16; ++i)
        Put32(info, i * 0x0F0F0F);
    std::string file = "BM";
    Put32(file, static_cast<unsigned>(14 + info.size() + runs.size()));
    Put32(file, 0);
    Put32(file, static_cast<unsigned>(14 + info.size()));
    return file + info + runs;
}

struct GlyphDirectory {
    bench::ScratchDrive drive;
    fs::path base = drive.Base();
    GlyphDirectory() {
        const fs::path prog = base / "C" / "prog";
        fs::create_directories(prog);
        for (int i = 1; i <= 64; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "g%05d.bmp", i);
            std::ofstream(prog / name, std::ios::binary) << LargeRleBitmap(i);
        }
        platform::SetProgramPath("C:\\prog\\Sporvik.exe");
    }
};

TFormMainWindow* g_window = nullptr;

// Every page turn loads 32 new bitmaps and paints the window with them.
void BM_PageOfLargestGlyphs(benchmark::State& state) {
    g_window->LoadDirectory("C:\\prog\\");
    for (auto _ : state) {
        if (g_window->SpeedButtonNext->isEnabled())
            g_window->SpeedButtonNextClick(g_window);
        else
            g_window->SpeedButtonFirstClick(g_window);
        benchmark::DoNotOptimize(g_window->grab());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // Proof that the page holds the large bitmaps, not a failure's leftovers.
    state.counters["glyph_px"] =
        g_window->GlyphButton(32)->Glyph().width() * g_window->GlyphButton(32)->Glyph().height();
    state.counters["peak_MB"] = std::round(usage.ru_maxrss / 1024.0);
}
BENCHMARK(BM_PageOfLargestGlyphs)->Unit(benchmark::kMillisecond);

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
    window.show();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FormMainWindow = nullptr;
    return 0;
}
