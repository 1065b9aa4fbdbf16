// sporvik-extract against the scan it runs and against foremost.
//
// BM_Scan runs the extractor in this process over the 256 MiB file, BM_Cli
// the program over the same file (process start included): the program
// should cost no more than the scan. BM_CliMany and BM_ForemostMany carve
// 100 files of 8 MiB each, every tool in one call over all of them. Every run
// writes into a fresh directory (made and removed outside the timing); after
// the last run the files written are compared with the bitmaps stored.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "BenchMain.h"
#include "BitmapCorpus.h"
#include "ChildProgram.h"
#include "ScratchDrive.h"
#include "extract/Extractor.h"
#include "platform/Drives.h"

namespace fs = std::filesystem;

namespace {

constexpr int kManyFiles = 100;
constexpr std::int64_t kManySize = 8LL << 20;

fs::path g_dir;
bench::Corpus g_big;
std::vector<std::string> g_manyBitmaps;
std::vector<std::string> g_manyFiles;

fs::path BigFile() {
    return g_dir / "C" / "big" / "prog.exe";
}

fs::path ProgramDir() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

std::vector<fs::path> BmpFilesUnder(const fs::path& dir) {
    std::vector<fs::path> files;
    if (fs::exists(dir))
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file() && e.path().extension() == ".bmp")
                files.push_back(e.path());
    return files;
}

void Tallied(benchmark::State& state, const fs::path& out, const std::vector<std::string>& stored,
             std::int64_t bytes) {
    const bench::Tally t = bench::CompareOutput(BmpFilesUnder(out), stored);
    state.counters["exact"] = t.exact;
    state.counters["wrong"] = t.wrong;
    state.counters["missed"] = t.missed;
    state.SetBytesProcessed(state.iterations() * bytes);
}

// Runs the program once per iteration with a fresh output directory. Its own
// processor time (user and system) becomes the counter child_cpu_ms, as the
// CPU column counts this process only.
void TimeProgram(benchmark::State& state, const std::string& program,
                 const std::vector<std::string>& args, const std::vector<std::string>& stored,
                 std::int64_t bytes) {
    const fs::path out = g_dir / "out";
    const double cpuBefore = bench::ChildCpuSeconds();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        state.ResumeTiming();
        if (!bench::RunProgram(program, args, out))
            state.SkipWithError((program + " failed (is it installed?)").c_str());
    }
    state.counters["child_cpu_ms"] = benchmark::Counter(
        (bench::ChildCpuSeconds() - cpuBefore) * 1000.0, benchmark::Counter::kAvgIterations);
    Tallied(state, out, stored, bytes);
    fs::remove_all(out);
}

void BM_Scan(benchmark::State& state) {
    const fs::path out = g_dir / "C" / "scan";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        fs::create_directories(out);
        state.ResumeTiming();
        BitmapFileNumber = 0;
        ExtractHooks hooks;
        hooks.outputDir = "C:\\scan\\";
        hooks.reportError = [&state](const std::string& m) { state.SkipWithError(m.c_str()); };
        TBitmapExtractor extractor("C:\\big\\prog.exe", hooks);
        extractor.Run();
    }
    Tallied(state, out, g_big.bitmaps, static_cast<std::int64_t>(fs::file_size(BigFile())));
    fs::remove_all(out);
}

std::string Extractor() {
    return (ProgramDir() / "sporvik-extract").string();
}

void BM_Cli(benchmark::State& state) {
    TimeProgram(state, Extractor(), {"-q", "-o", "OUT", BigFile().string()}, g_big.bitmaps,
                static_cast<std::int64_t>(fs::file_size(BigFile())));
}

void BM_CliMany(benchmark::State& state) {
    std::vector<std::string> args = {"-q", "-o", "OUT"};
    args.insert(args.end(), g_manyFiles.begin(), g_manyFiles.end());
    TimeProgram(state, Extractor(), args, g_manyBitmaps, kManyFiles * kManySize);
}

void BM_ForemostMany(benchmark::State& state) {
    std::vector<std::string> args = {"-Q", "-t", "bmp", "-o", "OUT"};
    args.insert(args.end(), g_manyFiles.begin(), g_manyFiles.end());
    TimeProgram(state, "foremost", args, g_manyBitmaps, kManyFiles * kManySize);
}

// The scan and the program differ by a few per cent at most, less than the
// noise of a shared machine: run them with
// --benchmark_enable_random_interleaving=true and compare the medians.
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(15);
BENCHMARK(BM_Cli)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(15);
BENCHMARK(BM_CliMany)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
BENCHMARK(BM_ForemostMany)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

class BenchFiles {
public:
    BenchFiles() {
        g_dir = drive_.Base();
        fs::create_directories(BigFile().parent_path());
        g_big = bench::WriteCorpus(BigFile(), bench::CorpusPlan{});
        fs::create_directories(g_dir / "many");
        for (int i = 0; i < kManyFiles; ++i) {
            bench::CorpusPlan plan;
            plan.size = kManySize;
            plan.bitmaps = 8;
            plan.decoys = 8;
            plan.seed = 1000 + static_cast<std::uint64_t>(i);
            const fs::path file = g_dir / "many" / ("prog" + std::to_string(i) + ".exe");
            for (std::string& b : bench::WriteCorpus(file, plan).bitmaps)
                g_manyBitmaps.push_back(std::move(b));
            g_manyFiles.push_back(file.string());
        }
    }
    BenchFiles(const BenchFiles&) = delete;
    BenchFiles& operator=(const BenchFiles&) = delete;

private:
    bench::ScratchDrive drive_;
};

} // namespace

int main(int argc, char** argv) {
    return bench::RunOnFiles<BenchFiles>(argc, argv);
}
