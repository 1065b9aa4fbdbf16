// Speed of the byte-pattern search over a 256 MiB file held in the page
// cache: a scan without any "BM", and the extractor's walk from one "BM" to
// the next (each search starting one byte behind the last hit), against the
// floor of plain read() and memchr over the same file. The walk runs once
// with a fresh SearchInFile per hit and once with one TFileSearch, as the
// extractor uses it; (walk time - no-match time) / hits is the fixed cost of
// one search.
//
// The files live in a temp directory mapped as drive C:, and go when the run
// ends.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "BenchMain.h"
#include "ScratchDrive.h"
#include "controls/SearchProgress.h"
#include "extract/FileSearch.h"
#include "extract/Search.h"
#include "platform/Drives.h"
#include "platform/ui/ProgressBar.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kFileSize = 256LL << 20;
constexpr std::int64_t kHitDistance = 64LL << 10;
constexpr std::int64_t kHits = kFileSize / kHitDistance;

fs::path g_dir;

// Random bytes written a megabyte at a time (so the run's own memory stays
// small); every "BM" the dice make (in any case) is broken, and with `everyHit` set one is
// placed at the start of each such stretch.
void WriteTestFile(const fs::path& path, std::int64_t everyHit) {
    std::mt19937_64 rng(12345);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<unsigned char> chunk(1 << 20);
    unsigned char previous = 0;
    for (std::int64_t offset = 0; offset < kFileSize; offset += std::ssize(chunk)) {
        for (std::size_t i = 0; i < chunk.size(); i += 8) {
            const std::uint64_t r = rng();
            std::memcpy(&chunk[i], &r, 8);
        }
        // No "BM" in either case, so that both case modes scan the whole file.
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            const unsigned char before = i ? chunk[i - 1] : previous;
            if ((before | 0x20) == 'b' && (chunk[i] | 0x20) == 'm')
                chunk[i] = 'N';
        }
        if (everyHit)
            for (std::int64_t at = 0; at < std::ssize(chunk); at += everyHit) {
                chunk[at] = 'B';
                chunk[at + 1] = 'M';
            }
        previous = chunk.back();
        out.write(reinterpret_cast<const char*>(chunk.data()), std::ssize(chunk));
    }
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

double MaxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Finish(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * kFileSize);
    state.counters["maxrss_MiB"] = MaxRssMiB();
}

void BM_SearchNoMatch(benchmark::State& state) {
    const bool caseSensitive = state.range(0) != 0;
    for (auto _ : state) {
        const std::int64_t result =
            SearchInFile("C:\\nobm.bin", 1, caseSensitive ? "BM" : "bm", caseSensitive, nullptr);
        if (result != 0)
            state.SkipWithError("a match where there is none");
        benchmark::DoNotOptimize(result);
    }
    Finish(state);
}
BENCHMARK(BM_SearchNoMatch)
    ->ArgName("caseSensitive")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

// Follows every hit as the extractor does, optionally showing progress on
// the main window's bar.
void BM_SearchFollowingHits(benchmark::State& state) {
    TProgressBar bar;
    bar.SetRange(0, 100);
    bar.SetStep(10);
    const SearchProgress progress = state.range(0) ? ProgressShownOn(&bar) : SearchProgress();
    for (auto _ : state) {
        std::int64_t start = 1;
        std::int64_t hits = 0;
        std::int64_t result = 0;
        while ((result = SearchInFile("C:\\bm64k.bin", start, "BM", true, progress)) > 0) {
            ++hits;
            start = result + 1;
        }
        if (result != 0 || hits != kHits)
            state.SkipWithError("wrong hits");
    }
    Finish(state);
}
BENCHMARK(BM_SearchFollowingHits)
    ->ArgName("progressBar")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// The same walk through one search object over the open file.
void BM_FileSearchFollowingHits(benchmark::State& state) {
    TProgressBar bar;
    bar.SetRange(0, 100);
    bar.SetStep(10);
    const SearchProgress progress = state.range(0) ? ProgressShownOn(&bar) : SearchProgress();
    for (auto _ : state) {
        TFileSearch search("C:\\bm64k.bin");
        std::int64_t start = 1;
        std::int64_t hits = 0;
        std::int64_t result = 0;
        while ((result = search.Search(start, "BM", true, progress)) > 0) {
            ++hits;
            start = result + 1;
        }
        if (result != 0 || hits != kHits)
            state.SkipWithError("wrong hits");
    }
    Finish(state);
}
BENCHMARK(BM_FileSearchFollowingHits)
    ->ArgName("progressBar")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// The floor: read() in the same block size, and memchr over every block for
// the first pattern byte.
void ReadAndScan(benchmark::State& state, bool scan) {
    const fs::path path = g_dir / "C" / "nobm.bin";
    std::vector<unsigned char> block(SearchBlockSize);
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        std::int64_t found = 0;
        ssize_t n = 0;
        while ((n = read(fd, block.data(), block.size())) > 0) {
            if (!scan)
                continue;
            const unsigned char* p = block.data();
            const unsigned char* end = p + n;
            while ((p = static_cast<const unsigned char*>(std::memchr(p, 'B', end - p)))) {
                ++found;
                ++p;
            }
        }
        close(fd);
        benchmark::DoNotOptimize(found);
    }
    Finish(state);
}
void BM_ReadOnly(benchmark::State& state) {
    ReadAndScan(state, false);
}
void BM_MemchrOverRead(benchmark::State& state) {
    ReadAndScan(state, true);
}
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemchrOverRead)->Unit(benchmark::kMillisecond);

// Makes the files, maps C: over them and removes them again at the end.
class BenchFiles {
public:
    BenchFiles() {
        g_dir = drive_.Base();
        fs::create_directories(g_dir / "C");
        WriteTestFile(g_dir / "C" / "nobm.bin", 0);
        WriteTestFile(g_dir / "C" / "bm64k.bin", kHitDistance);
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
    return bench::RunOnFiles<BenchFiles>(argc, argv);
}
