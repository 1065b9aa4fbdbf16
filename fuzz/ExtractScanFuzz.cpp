// The extraction scan over any bytes, in one pass and in two halves, with
// any of the first numbers taken by files already there and any answers to
// the questions, against a plain statement of its rules: the same count,
// numbers, questions and file contents, and nothing reported.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "FuzzSupport.h"
#include "ScanReference.h"
#include "extract/Extractor.h"
#include "fileutils/PathParts.h"
#include "platform/Drives.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExisting = 4; // numbers 1 to 4 may be taken beforehand

std::string ReadHost(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnsureDrives();
    fuzz::Input input(data, size);
    const std::uint8_t flags = input.Byte();
    const std::uint8_t answerBits = input.Byte();
    const std::string exe = input.Rest();
    const bool halves = flags & 1;
    std::vector<OverwriteAnswer> answers;
    for (int i = 0; i < 4; ++i)
        answers.push_back(static_cast<OverwriteAnswer>(answerBits >> (2 * i) & 3));

    const fs::path dir = fs::path(platform::DriveHostRoot('C')) / "scan";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "tool.exe", std::ios::binary) << exe;
    testsupport::ReferenceRun expected;
    for (int n = 1; n <= kExisting; ++n)
        if (flags >> n & 1) {
            const std::string name = std::to_string(n) + ".bmp";
            const std::string old = "old " + name;
            std::ofstream(dir / name, std::ios::binary) << old;
            expected.files[name] = old;
        }
    int number = 0;
    testsupport::ReferenceExtract(exe, number, answers, expected);

    BitmapFileNumber = 0;
    std::vector<std::string> asked, reported;
    ExtractHooks hooks;
    hooks.askOverwrite = [&](const std::string& fileName) {
        asked.push_back(NamePart(fileName));
        // In turn, then No once they run out, as the reference answers.
        return asked.size() <= answers.size() ? answers[asked.size() - 1] : OverwriteAnswer::No;
    };
    hooks.reportError = [&](const std::string& m) { reported.push_back(m); };
    TBitmapExtractor extractor("C:\\scan\\tool.exe", hooks);
    std::vector<CarvedBitmap> found;
    ExtractOutcome outcome;
    if (!halves)
        outcome = extractor.Run();
    else if (extractor.Survey(found).opened)
        outcome = extractor.WriteSurveyed(found);
    const bool opened = outcome.opened;

    const std::string shown = std::to_string(exe.size()) + " bytes" + (halves ? ", halves" : "");
    FUZZ_CHECK(opened, shown);
    FUZZ_CHECK(reported.empty(), reported.empty() ? shown : reported.front());
    FUZZ_CHECK(outcome.taken == expected.count, shown);
    FUZZ_CHECK(BitmapFileNumber == number, shown);
    FUZZ_CHECK(asked == expected.questions, shown);
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename() != "tool.exe")
            files[e.path().filename().string()] = ReadHost(e.path());
    FUZZ_CHECK(files == expected.files, shown);
    return 0;
}
