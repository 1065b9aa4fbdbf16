// The carving scan over any bytes with any of its rules: everything taken
// lies inside the file, in order and apart, and passes its rule again when
// judged from the bytes alone; with no rule widened it finds exactly what
// the window's scan finds; with every rule it loses none of those, but for
// what lies inside a picture it took whole.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "FuzzSupport.h"
#include "extract/BitmapHeaderRule.h"
#include "extract/CarveScan.h"
#include "extract/Extractor.h"
#include "fileutils/FileUtils.h"
#include "extract/PngWalk.h"
#include "platform/Drives.h"

namespace fs = std::filesystem;

namespace {

CarveResult Carve(const CarveRules& rules) {
    platform::FileObject file{"C:\\carve\\tool.exe"};
    OpenReadOnly(file, 1);
    CarveResult r = CarveFile(file, file.Size(), rules, nullptr);
    file.Close();
    return r;
}

bool Passes(const std::string& bytes, const CarvedBitmap& b, const CarveRules& rules) {
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data()) + b.offset;
    const std::int64_t remaining = std::ssize(bytes) - b.offset;
    if (b.kind == CarvedKind::Png) {
        const ReadAt read = [&](std::int64_t offset, unsigned char* buffer, std::int64_t n) {
            const std::int64_t got = std::clamp<std::int64_t>(std::ssize(bytes) - offset, 0, n);
            std::copy_n(bytes.data() + offset, got, buffer);
            return got;
        };
        const PngExtent e = WalkPng(read, b.offset, std::ssize(bytes));
        return e.verdict == PngVerdict::Whole && e.size == b.size;
    }
    const auto available =
        static_cast<std::size_t>(std::min<std::int64_t>(remaining, BitmapHeadersRead));
    return WindowTakes(at, available) ||
           JudgeBitmapHeaders(at, available, remaining, rules) == HeaderVerdict::Bitmap;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnsureDrives();
    fuzz::Input input(data, size);
    const std::uint8_t flags = input.Byte();
    const std::string bytes = input.Rest();
    const CarveRules rules{(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
    const fs::path dir = fs::path(platform::DriveHostRoot('C')) / "carve";
    fs::create_directories(dir);
    std::ofstream(dir / "tool.exe", std::ios::binary | std::ios::trunc) << bytes;
    const std::string shown = std::to_string(bytes.size()) + " bytes, rules " +
                              std::to_string(flags & 7);

    const CarveResult carved = Carve(rules);
    std::int64_t end = 0;
    for (const CarvedBitmap& b : carved.found) {
        FUZZ_CHECK(b.offset >= end && b.size > 0, shown);
        FUZZ_CHECK(b.held == std::min(b.size, std::ssize(bytes) - b.offset), shown);
        FUZZ_CHECK(Passes(bytes, b, rules), shown);
        end = b.offset + b.size;
    }

    ExtractHooks hooks;
    TBitmapExtractor window("C:\\carve\\tool.exe", hooks);
    std::vector<CarvedBitmap> windowFound;
    FUZZ_CHECK(window.Survey(windowFound).opened, shown);
    const CarveResult plain = Carve({});
    FUZZ_CHECK(plain.found.size() == windowFound.size(), shown);
    for (std::size_t i = 0; i < windowFound.size(); ++i)
        FUZZ_CHECK(plain.found[i].offset == windowFound[i].offset &&
                       plain.found[i].size == windowFound[i].size,
                   shown);

    const CarveResult all = Carve({true, true, true});
    for (const CarvedBitmap& w : windowFound) {
        const bool kept = std::any_of(all.found.begin(), all.found.end(), [&](const auto& b) {
            return b.offset == w.offset || (b.offset < w.offset && w.offset < b.offset + b.size);
        });
        FUZZ_CHECK(kept, shown);
    }
    return 0;
}
