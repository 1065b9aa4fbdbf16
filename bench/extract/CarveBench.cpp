// sporvik-extract with every carving option against foremost carving
// bitmaps and PNG files, on the same 100 files in the same run, and against
// the floor: reading the same bytes and looking for one byte with memchr.
//
// The files hold bitmaps of every header size (most over 5000 bytes), PNG
// files, decoys that break one rule each, damaged PNG files, and pictures
// shared between files. After each tool's last run its files are compared
// with the pictures stored: exact (each stored picture matched, counted
// once), wrong (a file equal to none) and missed; `files` counts what it
// wrote, duplicates included.
//
// Inputs and outputs lie under TMPDIR. On a disk's file system creating the
// 1,210 files can cost more than the scan itself, for both tools; with
// TMPDIR=/dev/shm the figures show the scan's own pace.
#include <benchmark/benchmark.h>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <unistd.h>

#include "BenchMain.h"
#include "BitmapCorpus.h"
#include "ChildProgram.h"
#include "ScratchDrive.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 100;
constexpr std::int64_t kFileSize = 4LL << 20;
constexpr int kSharedPool = 10;

fs::path g_dir;
std::vector<std::string> g_pictures; // each stored picture once
std::vector<std::string> g_files;

std::vector<fs::path> PicturesUnder(const fs::path& dir) {
    std::vector<fs::path> files;
    if (fs::exists(dir))
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file() &&
                (e.path().extension() == ".bmp" || e.path().extension() == ".png"))
                files.push_back(e.path());
    return files;
}

void TimeProgram(benchmark::State& state, const std::string& program,
                 const std::vector<std::string>& args) {
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
    const std::vector<fs::path> written = PicturesUnder(out);
    const bench::Tally t = bench::CompareOutput(written, g_pictures);
    state.counters["exact"] = t.exact;
    state.counters["wrong"] = t.wrong;
    state.counters["missed"] = t.missed;
    state.counters["files"] = static_cast<double>(written.size());
    state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
    fs::remove_all(out);
}

void BM_Carve(benchmark::State& state) {
    std::vector<std::string> args = {"-q",      "--any-size", "--every-header",    "--png",
                                     "--names", "source",     "--skip-duplicates", "-o",
                                     "OUT"};
    args.insert(args.end(), g_files.begin(), g_files.end());
    TimeProgram(state,
                (fs::read_symlink("/proc/self/exe").parent_path() / "sporvik-extract").string(),
                args);
}

void BM_Foremost(benchmark::State& state) {
    std::vector<std::string> args = {"-Q", "-t", "bmp,png", "-o", "OUT"};
    args.insert(args.end(), g_files.begin(), g_files.end());
    TimeProgram(state, "foremost", args);
}

// The same bytes read in blocks of a megabyte and searched for one byte:
// what no carving of them can beat.
void BM_ReadFloor(benchmark::State& state) {
    std::vector<char> block(1 << 20);
    std::int64_t hits = 0;
    for (auto _ : state) {
        for (const std::string& file : g_files) {
            const int fd = open(file.c_str(), O_RDONLY);
            for (ssize_t n; (n = read(fd, block.data(), block.size())) > 0;)
                for (const char* p = block.data();
                     (p = static_cast<const char*>(std::memchr(p, 0x89, block.data() + n - p)));
                     ++p)
                    ++hits;
            close(fd);
        }
    }
    benchmark::DoNotOptimize(hits);
    state.SetBytesProcessed(state.iterations() * kFiles * kFileSize);
}

BENCHMARK(BM_Carve)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
BENCHMARK(BM_Foremost)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_ReadFloor)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);

class BenchFiles {
public:
    BenchFiles() {
        g_dir = drive_.Base();
        fs::create_directories(g_dir / "many");
        const std::vector<std::string> shared = bench::MakeSharedPictures(kSharedPool, 7);
        std::set<std::string> stored;
        for (int i = 0; i < kFiles; ++i) {
            bench::WidePlan plan;
            plan.size = kFileSize;
            plan.seed = 5000 + static_cast<std::uint64_t>(i);
            const fs::path file = g_dir / "many" / ("prog" + std::to_string(i) + ".exe");
            for (std::string& p : bench::WriteWideCorpus(file, plan, shared).pictures)
                stored.insert(std::move(p));
            g_files.push_back(file.string());
        }
        g_pictures.assign(stored.begin(), stored.end());
    }
    BenchFiles(const BenchFiles&) = delete;
    BenchFiles& operator=(const BenchFiles&) = delete;

private:
    bench::ScratchDrive drive_;
};

} // namespace

int main(int argc, char** argv) {
    return bench::RunOnFiles<BenchFiles>(argc, argv, [] {
        benchmark::AddCustomContext("stored_pictures", std::to_string(g_pictures.size()));
    });
}
