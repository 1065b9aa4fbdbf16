// The resource walker over any bytes as a program file: it ends, lists only
// bitmaps that lie inside the file, finds nothing in a file that is no
// program, gives the same list twice, and every bitmap it lists either
// becomes a bitmap file whose header agrees with its bytes or is refused
// with a reason.
#include <filesystem>
#include <fstream>

#include "FuzzSupport.h"
#include "extract/DibFile.h"
#include "extract/PeResources.h"
#include "platform/Drives.h"

namespace {

bool SameList(const PeResourceList& a, const PeResourceList& b) {
    if (a.isProgram != b.isProgram || a.problems != b.problems ||
        a.bitmaps.size() != b.bitmaps.size())
        return false;
    for (std::size_t i = 0; i < a.bitmaps.size(); ++i) {
        const PeBitmapResource &x = a.bitmaps[i], &y = b.bitmaps[i];
        if (x.name != y.name || x.language != y.language || x.offset != y.offset ||
            x.size != y.size)
            return false;
    }
    return true;
}

std::uint32_t U32(const std::string& s, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

void CheckBitmapFile(const std::string& program, const PeBitmapResource& b) {
    const std::string dib = program.substr(static_cast<std::size_t>(b.offset), b.size);
    DibFile file;
    std::string problem;
    if (!MakeBitmapFile(dib, file, problem)) {
        FUZZ_CHECK(!problem.empty(), b.name);
        return;
    }
    FUZZ_CHECK(file.bytes.size() == 14 + dib.size(), b.name);
    FUZZ_CHECK(file.bytes.compare(0, 2, "BM") == 0 && file.bytes.substr(14) == dib, b.name);
    FUZZ_CHECK(U32(file.bytes, 2) == file.bytes.size(), b.name);
    FUZZ_CHECK(U32(file.bytes, 10) <= file.bytes.size(), b.name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnsureDrives();
    const std::string program(reinterpret_cast<const char*>(data), size);
    const auto host = std::filesystem::path(platform::DriveHostRoot('C')) / "program.exe";
    std::ofstream(host, std::ios::binary) << program;

    platform::FileObject file("C:\\program.exe");
    file.Reset(platform::FileAccess::ReadOnly, 1);
    const PeResourceList list = ListBitmapResources(file);
    const PeResourceList again = ListBitmapResources(file);
    file.Close();

    const std::string shown = std::to_string(size) + " bytes";
    FUZZ_CHECK(SameList(list, again), shown);
    if (!list.isProgram)
        FUZZ_CHECK(list.bitmaps.empty() && list.problems.empty(), shown);
    for (const PeBitmapResource& b : list.bitmaps) {
        FUZZ_CHECK(b.offset >= 0 && b.offset <= static_cast<std::int64_t>(size) &&
                       b.size <= size - static_cast<std::size_t>(b.offset),
                   b.name);
        CheckBitmapFile(program, b);
    }
    return 0;
}
