// sporvik-extract --resources against wrestool -x on the same programs.
//
// 200 programs are composed as the tests compose them: 32- and 64-bit ones
// and 16-bit ones with two table units, each with bitmaps, icon groups (1-
// to 32-bit and PNG images) and cursor groups. BM_Resources and BM_Wrestool
// each write every picture of all of them in one call (process start
// included; sporvik-extract also scans every file for stored bitmap files,
// of which these hold none). After the last run of each, its files are
// counted by kind, and after both, ours are compared with wrestool's byte for
// byte: "same", "trailing" (the same but for the bytes wrestool writes after
// an icon's or cursor's images and its cursor sizes), "different", "missing".
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "BenchMain.h"
#include "ChildProgram.h"
#include "ProgramImage.h"
#include "ScratchDrive.h"
#include "WrestoolFiles.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

constexpr int kPrograms = 200;

fs::path g_dir;
std::vector<std::string> g_programs; // host paths

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Program k: 4 bitmaps, 3 icon groups of up to 6 images, 2 cursor groups.
std::vector<ResourceItem> Pictures(unsigned k) {
    std::vector<ResourceItem> cursors, bitmaps, icons, cursorGroups, iconGroups;
    for (std::uint16_t c = 1; c <= 2; ++c) {
        const std::string image = CursorImage(c, static_cast<std::uint16_t>(2 * c),
                                              IconImage(c == 1 ? 1 : 4, 32, 32, k + c));
        cursors.push_back(Resource(kCursorType, c, "", image));
        cursorGroups.push_back(
            Resource(kCursorGroupType, 32511u + c, "",
                     GroupData({{32, 64, 0, 1, static_cast<std::uint16_t>(c == 1 ? 1 : 4),
                                 static_cast<std::uint32_t>(image.size()), c}},
                               true)));
    }
    for (std::uint32_t b = 0; b < 4; ++b)
        bitmaps.push_back(
            Resource(kBitmapType, 100 + b, "",
                     ResourceBitmap(b == 0 ? 4 : 8, 16 + 8 * static_cast<int>(b), 16, k * 7 + b)));
    const int bits[] = {1, 4, 8, 24, 32};
    std::uint16_t id = 1;
    for (int g = 0; g < 3; ++g) {
        std::vector<GroupEntry> entries;
        for (int i = 0; i < 5; ++i, ++id) {
            const int side = 16 << (i % 3);
            const std::string image = IconImage(bits[i], side, side, k * 31 + id);
            icons.push_back(Resource(kIconType, id, "", image));
            entries.push_back({static_cast<std::uint16_t>(side), static_cast<std::uint16_t>(side),
                               0, 1, static_cast<std::uint16_t>(bits[i]),
                               static_cast<std::uint32_t>(image.size()), id});
        }
        if (g == 0) { // the application's icon has a PNG image too
            const std::string png = PngImage(64, k);
            icons.push_back(Resource(kIconType, id, "", png));
            entries.push_back({64, 64, 0, 1, 32, static_cast<std::uint32_t>(png.size()), id++});
        }
        iconGroups.push_back(
            g == 0 ? Resource(kIconGroupType, 0, "IDI_APP", GroupData(entries, false))
                   : Resource(kIconGroupType, 200u + g, "", GroupData(entries, false)));
    }
    std::vector<ResourceItem> all;
    for (auto* part : {&cursors, &bitmaps, &icons, &cursorGroups, &iconGroups})
        all.insert(all.end(), part->begin(), part->end());
    return all;
}

std::string Extractor() {
    return (fs::read_symlink("/proc/self/exe").parent_path() / "sporvik-extract").string();
}

fs::path Out(const char* who) {
    return g_dir / (std::string("out-") + who);
}

void CountKinds(benchmark::State& state, const fs::path& out) {
    std::map<std::string, int> count;
    std::int64_t bytes = 0;
    for (const auto& e : fs::directory_iterator(out)) {
        ++count[e.path().extension().string()];
        bytes += static_cast<std::int64_t>(e.file_size());
    }
    state.counters["bmp"] = count[".bmp"];
    state.counters["ico"] = count[".ico"];
    state.counters["cur"] = count[".cur"];
    state.counters["bytes"] = static_cast<double>(bytes);
}

void TimeRuns(benchmark::State& state, const std::string& program, std::vector<std::string> args) {
    args.insert(args.end(), g_programs.begin(), g_programs.end());
    const fs::path out = Out(program == "wrestool" ? "wrestool" : "sporvik");
    const double cpuBefore = bench::ChildCpuSeconds();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(out);
        fs::create_directories(out);
        state.ResumeTiming();
        if (!bench::RunProgram(program, args, out))
            state.SkipWithError((program + " failed (is it installed?)").c_str());
    }
    state.counters["child_cpu_ms"] = benchmark::Counter(
        (bench::ChildCpuSeconds() - cpuBefore) * 1000.0, benchmark::Counter::kAvgIterations);
    CountKinds(state, out);
}

void BM_Resources(benchmark::State& state) {
    TimeRuns(state, Extractor(), {"-q", "--resources", "-o", "OUT"});
}

void BM_Wrestool(benchmark::State& state) {
    TimeRuns(state, "wrestool", {"-x", "-o", "OUT"});
}

// Ours against wrestool's, file by file, from the last runs of both.
void BM_Compare(benchmark::State& state) {
    int same = 0, trailing = 0, different = 0, missing = 0;
    for (auto _ : state) {
        same = trailing = different = missing = 0;
        for (const auto& e : fs::directory_iterator(Out("sporvik"))) {
            // "prog7-IDI_APP.ico" against "prog7.exe_14_IDI_APP.ico"
            const std::string file = e.path().filename().string();
            const std::string ext = e.path().extension().string().substr(1);
            const std::size_t dash = file.find('-');
            const int type = ext == "bmp" ? 2 : ext == "ico" ? 14 : 12;
            const fs::path theirs =
                Out("wrestool") / WrestoolName(file.substr(0, dash) + ".exe", type,
                                               file.substr(dash + 1, file.size() - dash - 5), ext);
            if (!fs::exists(theirs)) {
                ++missing;
                continue;
            }
            switch (CompareWithWrestool(Read(e.path()), Read(theirs), ext == "cur")) {
            case WrestoolMatch::Same:
                ++same;
                break;
            case WrestoolMatch::Trailing:
                ++trailing;
                break;
            case WrestoolMatch::Different:
                ++different;
                break;
            }
        }
    }
    state.counters["same"] = same;
    state.counters["trailing"] = trailing;
    state.counters["different"] = different;
    state.counters["missing"] = missing;
}

BENCHMARK(BM_Resources)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(9);
BENCHMARK(BM_Wrestool)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);
BENCHMARK(BM_Compare)->Unit(benchmark::kMillisecond)->Iterations(1);

class BenchFiles {
public:
    BenchFiles() {
        g_dir = drive_.Base();
        fs::create_directories(g_dir / "programs");
        for (int k = 0; k < kPrograms; ++k) {
            const std::vector<ResourceItem> items = Pictures(static_cast<unsigned>(k));
            const std::string bytes = k % 4 == 0   ? ComposeProgram(items, false).bytes
                                      : k % 4 == 1 ? ComposeProgram(items, true).bytes
                                      : k % 4 == 2 ? ComposeNeProgram(items, 4).bytes
                                                   : ComposeNeProgram(items, 9).bytes;
            const fs::path file = g_dir / "programs" / ("prog" + std::to_string(k) + ".exe");
            std::ofstream(file, std::ios::binary) << bytes;
            g_programs.push_back(file.string());
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
