// Extraction into folders that already hold many files, each tool timed
// against its peer in the same run.
//
// BM_Resources/M and BM_Wrestool/M write the 482 named bitmaps of a composed
// theme program into a folder of M files (process start included); a full
// folder should cost little more than the empty one. BM_Window/M is the main
// window's extraction of an 8 MiB file holding 200 bitmaps into its own
// folder of M glyphs, the folder shown afterwards included, from where the
// file dialog leaves it or from a folder changed behind its back. BM_Cli,
// BM_Floor, BM_FloorMemchr and BM_Foremost carve the 256 MiB file into a new
// folder: sporvik-extract, the C carver beside this program (the least such
// a carver can do) finding "BM" with memmem and with memchr, and foremost
// -t bmp. Whatever a run writes is set aside outside the timing;
// after the last run the files written are counted or compared with the
// bitmaps stored.
//
//   build/bin/sporvik_bench_folders --benchmark_enable_random_interleaving=true
//   build/bin/sporvik_bench_folders --write_inputs=DIR
// The second writes the inputs (theme.exe, big.exe, and big-spoilt.exe, the
// same with every bitmap failing a header test) for a look with strace.
#include <QApplication>
#include <QColor>
#include <QImage>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <thread>

#include "BitmapCorpus.h"
#include "ChildProgram.h"
#include "ProgramImage.h"
#include "ScratchDrive.h"
#include "WrestoolFiles.h"
#include "app/Forms.h"
#include "app/Glyph_MW.h"
#include "extract/Extractor.h"
#include "platform/FileOps.h"
#include "platform/Find.h"

namespace fs = std::filesystem;

namespace {

constexpr int kThemeBitmaps = 482;
constexpr int kWindowBitmaps = 200;
constexpr int kFolderSizes[] = {0, 10000, 100000};
constexpr int kGlyphFolderSizes[] = {0, 10000};

fs::path g_dir;
bench::Corpus g_big;
bench::Corpus g_small;

std::string ResourceName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "BTN_GLYPH_%03d", i);
    return name;
}

// A theme: nothing but named bitmaps of a few sizes and depths.
std::string ThemeProgram() {
    std::vector<testsupport::ResourceItem> items;
    for (int i = 0; i < kThemeBitmaps; ++i)
        items.push_back(testsupport::Resource(
            testsupport::kBitmapType, 0, ResourceName(i),
            testsupport::ResourceBitmap(i % 2 ? 4 : 8, 16 + i % 17, 16, static_cast<unsigned>(i))));
    return testsupport::ComposeProgram(items, false).bytes;
}

// The big file once more, with every stored bitmap failing the planes test:
// the same scan, nothing written.
void WriteSpoilt(const fs::path& from, const fs::path& to, const bench::Corpus& corpus) {
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    std::fstream f(to, std::ios::in | std::ios::out | std::ios::binary);
    for (const std::int64_t at : corpus.offsets) {
        f.seekp(at + 26);
        f.write("\0\0", 2);
    }
}

fs::path Theme() {
    return g_dir / "theme.exe";
}

fs::path BigFile() {
    return g_dir / "big.exe";
}

fs::path Folder(int files) {
    return g_dir / "C" / ("f" + std::to_string(files));
}

fs::path GlyphFolder(int glyphs) {
    return g_dir / "C" / ("w" + std::to_string(glyphs));
}

fs::path ProgramDir() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

void FillFolder(const fs::path& dir, int files) {
    fs::create_directories(dir);
    for (int i = 1; i <= files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "glyph%06d.bmp", i);
        std::ofstream(dir / name) << "x";
    }
}

void FillGlyphFolder(const fs::path& dir, int glyphs) {
    fs::create_directories(dir);
    if (glyphs == 0)
        return;
    QImage img(16, 16, QImage::Format_RGB888);
    img.fill(QColor(0, 0, 160));
    img.save(QString::fromStdString((dir / "g000001.bmp").string()), "BMP");
    for (int i = 2; i <= glyphs; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "g%06d.bmp", i);
        fs::copy_file(dir / "g000001.bmp", dir / name);
    }
}

// The files a run writes into a folder, by their names.
using Names = std::vector<std::string>;

Names OursFromTheme() {
    Names names;
    for (int i = 0; i < kThemeBitmaps; ++i)
        names.push_back("theme-" + ResourceName(i) + ".bmp");
    return names;
}

Names WrestoolsFromTheme() {
    Names names;
    for (int i = 0; i < kThemeBitmaps; ++i)
        names.push_back(testsupport::WrestoolName("theme.exe", 2, ResourceName(i), "bmp"));
    return names;
}

Names Numbered(int count) {
    Names names;
    for (int i = 1; i <= count; ++i)
        names.push_back(std::to_string(i) + ".bmp");
    return names;
}

// Files a run wrote are moved aside rather than deleted: a file system
// that must step around many inodes just freed makes the next run's new
// files slower for a reason of its own. They go when the program ends.
fs::path SpentFolder() {
    static int count = 0;
    const fs::path spent = g_dir / "spent" / std::to_string(++count);
    fs::create_directories(spent);
    return spent;
}

void SetAside(const fs::path& dir, const Names& names) {
    const fs::path spent = SpentFolder();
    for (const std::string& n : names)
        if (fs::exists(dir / n))
            fs::rename(dir / n, spent / n);
}

int CountPresent(const fs::path& dir, const Names& names) {
    int present = 0;
    for (const std::string& n : names)
        present += fs::exists(dir / n);
    return present;
}

std::vector<fs::path> Paths(const fs::path& dir, const Names& names) {
    std::vector<fs::path> paths;
    for (const std::string& n : names)
        paths.push_back(dir / n);
    return paths;
}

// The program's own processor time (user and system) a run, which the CPU
// column, counting this process only, leaves out.
void ChildCpu(benchmark::State& state, double before) {
    state.counters["child_cpu_ms"] = benchmark::Counter(
        (bench::ChildCpuSeconds() - before) * 1000.0, benchmark::Counter::kAvgIterations);
}

// Runs the program once per iteration into a folder of `files` files, the
// names it writes removed before each run; counts them after the last.
void TimeIntoFolder(benchmark::State& state, const std::string& program,
                    const std::vector<std::string>& args, const Names& written) {
    const fs::path out = Folder(static_cast<int>(state.range(0)));
    const double cpuBefore = bench::ChildCpuSeconds();
    for (auto _ : state) {
        state.PauseTiming();
        SetAside(out, written);
        state.ResumeTiming();
        if (!bench::RunProgram(program, args, out))
            state.SkipWithError((program + " failed (is it installed?)").c_str());
    }
    ChildCpu(state, cpuBefore);
    state.counters["written"] = CountPresent(out, written);
    SetAside(out, written);
}

std::string Extractor() {
    return (ProgramDir() / "sporvik-extract").string();
}

void BM_Resources(benchmark::State& state) {
    TimeIntoFolder(state, Extractor(), {"-q", "--resources", "-o", "OUT", Theme().string()},
                   OursFromTheme());
}

void BM_Wrestool(benchmark::State& state) {
    TimeIntoFolder(state, "wrestool", {"-x", "-o", "OUT", Theme().string()}, WrestoolsFromTheme());
}

TFormMainWindow* g_window = nullptr;

// Arg 1 listed: as the command runs, the file dialog has just listed the
// folder to pick the program from it; 0: the folder was changed behind the
// window's back since anything looked at it.
void BM_Window(benchmark::State& state) {
    const int glyphs = static_cast<int>(state.range(0));
    const bool listed = state.range(1) != 0;
    const fs::path dir = GlyphFolder(glyphs);
    const std::string folder = "C:\\w" + std::to_string(glyphs) + "\\";
    const Names written = Numbered(kWindowBitmaps);
    for (auto _ : state) {
        state.PauseTiming();
        SetAside(dir, written);
        BitmapFileNumber = 0;
        platform::TSearchRec rec;
        if (listed && platform::FindFirst(folder + "*.exe", platform::faAnyFile, rec) == 0)
            platform::FindClose(rec);
        state.ResumeTiming();
        g_window->ExtractBitmapsFrom(folder + "prog.exe", g_window);
    }
    const bench::Tally t = bench::CompareOutput(Paths(dir, written), g_small.bitmaps);
    state.counters["exact"] = t.exact;
    state.counters["missed"] = t.missed;
    state.counters["shown"] = g_window->Pages().GlyphCount();
    SetAside(dir, written);
}

// Each of the three into a fresh folder, made by the tool itself.
void TimeCarver(benchmark::State& state, const std::string& program,
                const std::vector<std::string>& args) {
    fs::path out;
    const double cpuBefore = bench::ChildCpuSeconds();
    for (auto _ : state) {
        state.PauseTiming();
        out = SpentFolder() / "carved";
        state.ResumeTiming();
        if (!bench::RunProgram(program, args, out))
            state.SkipWithError((program + " failed (is it installed?)").c_str());
    }
    ChildCpu(state, cpuBefore);
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(out))
        if (e.is_regular_file() && e.path().extension() == ".bmp")
            files.push_back(e.path());
    const bench::Tally t = bench::CompareOutput(files, g_big.bitmaps);
    state.counters["exact"] = t.exact;
    state.counters["wrong"] = t.wrong;
    state.counters["missed"] = t.missed;
}

void BM_Cli(benchmark::State& state) {
    TimeCarver(state, Extractor(), {"-q", "-o", "OUT", BigFile().string()});
}

void BM_Floor(benchmark::State& state) {
    TimeCarver(state, (ProgramDir() / "sporvik_floor_carver").string(),
               {BigFile().string(), "OUT"});
}

void BM_FloorMemchr(benchmark::State& state) {
    TimeCarver(state, (ProgramDir() / "sporvik_floor_carver").string(),
               {"--memchr", BigFile().string(), "OUT"});
}

void BM_Foremost(benchmark::State& state) {
    TimeCarver(state, "foremost", {"-Q", "-t", "bmp", "-i", BigFile().string(), "-o", "OUT"});
}

void FolderSizes(benchmark::internal::Benchmark* b) {
    b->ArgName("files");
    for (int files : kFolderSizes)
        b->Arg(files);
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
}

BENCHMARK(BM_Resources)->Apply(FolderSizes);
BENCHMARK(BM_Wrestool)->Apply(FolderSizes);
BENCHMARK(BM_Window)
    ->ArgNames({"glyphs", "listed"})
    ->ArgsProduct({{kGlyphFolderSizes[0], kGlyphFolderSizes[1]}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(9);
BENCHMARK(BM_Cli)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);
BENCHMARK(BM_FloorMemchr)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(9);
BENCHMARK(BM_Foremost)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

void WriteInputs(const fs::path& dir) {
    fs::create_directories(dir);
    std::ofstream(dir / "theme.exe", std::ios::binary) << ThemeProgram();
    const bench::Corpus big = bench::WriteCorpus(dir / "big.exe", bench::CorpusPlan{});
    WriteSpoilt(dir / "big.exe", dir / "big-spoilt.exe", big);
}

class BenchFiles {
public:
    BenchFiles() {
        g_dir = drive_.Base();
        std::ofstream(Theme(), std::ios::binary) << ThemeProgram();
        g_big = bench::WriteCorpus(BigFile(), bench::CorpusPlan{});
        for (int files : kFolderSizes)
            FillFolder(Folder(files), files);
        for (int glyphs : kGlyphFolderSizes)
            FillGlyphFolder(GlyphFolder(glyphs), glyphs);
        bench::CorpusPlan small;
        small.size = 8LL << 20;
        small.bitmaps = kWindowBitmaps;
        g_small = bench::WriteCorpus(GlyphFolder(0) / "prog.exe", small);
        for (int glyphs : kGlyphFolderSizes)
            if (glyphs != 0)
                fs::create_hard_link(GlyphFolder(0) / "prog.exe", GlyphFolder(glyphs) / "prog.exe");
        fs::create_directories(g_dir / "C" / "prog");
        platform::SetProgramPath("C:\\prog\\Sporvik.exe");
        // Collections are added to long after they were made: let the
        // folders' last changes settle, as they would have.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }
    BenchFiles(const BenchFiles&) = delete;
    BenchFiles& operator=(const BenchFiles&) = delete;

private:
    bench::ScratchDrive drive_;
};

} // namespace

int main(int argc, char** argv) {
    constexpr std::string_view kWriteInputs = "--write_inputs=";
    if (argc == 2 && std::string_view(argv[1]).starts_with(kWriteInputs)) {
        WriteInputs(std::string_view(argv[1]).substr(kWriteInputs.size()));
        return 0;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchFiles files;
    TFormMainWindow window;
    FormMainWindow = g_window = &window;
    window.show();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FormMainWindow = nullptr;
    return 0;
}
