// The whole extraction over a 256 MiB file held in the page cache, every
// overwrite question answered All, against foremost carving bitmaps from the
// same file in the same run. After each tool's last run its output is
// compared with the bitmaps stored: exact, wrong and missed files become
// counters, beside the peak memory of this process and of foremost (which
// writes into a fresh directory each run).
//
// The file lives in a temp directory mapped as drive C:, and goes when the
// run ends.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

#include "BitmapCorpus.h"
#include "ScratchDrive.h"
#include "controls/SearchProgress.h"
#include "extract/Extractor.h"
#include "platform/Drives.h"
#include "platform/ui/ProgressBar.h"

namespace fs = std::filesystem;

namespace {

fs::path g_dir;
bench::Corpus g_corpus;

double MaxRssMiB(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Tallied(benchmark::State& state, const std::vector<fs::path>& files) {
    const bench::Tally t = bench::CompareOutput(files, g_corpus.bitmaps);
    state.counters["exact"] = t.exact;
    state.counters["wrong"] = t.wrong;
    state.counters["missed"] = t.missed;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(
                                                     g_dir / "C" / "corpus" / "prog.exe")));
}

std::vector<fs::path> BmpFilesUnder(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file() && e.path().extension() == ".bmp")
            files.push_back(e.path());
    return files;
}

// Arg 0: each run gets a directory of its own (the file hard-linked into
// it, not timed), so all 200 files are new. Arg 1: every run uses the same
// directory, so each replaces all 200 files after one question answered All.
void BM_Extract(benchmark::State& state) {
    const bool replacing = state.range(0) != 0;
    TProgressBar bar;
    bar.SetRange(0, 100);
    int questions = 0;
    int taken = 0;
    int run = 0;
    std::string dir = "corpus";
    for (auto _ : state) {
        if (!replacing) {
            state.PauseTiming();
            dir = "fresh" + std::to_string(++run);
            fs::create_directories(g_dir / "C" / dir);
            fs::create_hard_link(g_dir / "C" / "corpus" / "prog.exe",
                                 g_dir / "C" / dir / "prog.exe");
            state.ResumeTiming();
        }
        // The numbers start again each run.
        BitmapFileNumber = 0;
        ExtractHooks hooks;
        hooks.askOverwrite = [&questions](const std::string&) {
            ++questions;
            return OverwriteAnswer::All;
        };
        hooks.reportError = [&state](const std::string& message) {
            state.SkipWithError(message.c_str());
        };
        hooks.progress = ProgressShownOn(&bar);
        TBitmapExtractor extractor("C:\\" + dir + "\\prog.exe", hooks);
        const ExtractOutcome outcome = extractor.Run();
        if (!outcome.opened)
            state.SkipWithError("the file could not be opened");
        taken = outcome.taken;
    }
    Tallied(state, BmpFilesUnder(g_dir / "C" / dir));
    state.counters["taken"] = taken;
    state.counters["questions"] = questions;
    state.counters["maxrss_MiB"] = MaxRssMiB(RUSAGE_SELF);
    for (int r = 1; r <= run; ++r)
        fs::remove_all(g_dir / "C" / ("fresh" + std::to_string(r)));
}
BENCHMARK(BM_Extract)
    ->ArgName("replacing")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Foremost(benchmark::State& state) {
    const fs::path out = g_dir / "foremost";
    const std::string command = "foremost -Q -t bmp -i '" +
                                (g_dir / "C" / "corpus" / "prog.exe").string() + "' -o '" +
                                out.string() + "' >/dev/null 2>&1";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("foremost failed (is it installed?)");
    }
    if (fs::exists(out))
        Tallied(state, BmpFilesUnder(out));
    state.counters["maxrss_MiB"] = MaxRssMiB(RUSAGE_CHILDREN);
}
BENCHMARK(BM_Foremost)->Unit(benchmark::kMillisecond)->UseRealTime();

class BenchFiles {
public:
    BenchFiles() {
        g_dir = drive_.Base();
        fs::create_directories(g_dir / "C" / "corpus");
        g_corpus = bench::WriteCorpus(g_dir / "C" / "corpus" / "prog.exe", bench::CorpusPlan{});
    }
    BenchFiles(const BenchFiles&) = delete;
    BenchFiles& operator=(const BenchFiles&) = delete;

private:
    bench::ScratchDrive drive_;
};

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchFiles files;
    benchmark::AddCustomContext("chance_BM_pairs", std::to_string(g_corpus.chancePairs));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
