// Runs a fuzz target over files instead of generated input, so that the
// seeds and the inputs that once broke it run with every test, built by any
// compiler. Arguments are files or directories (a missing one is skipped);
// no input at all is a failure.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> InputsIn(const fs::path& p) {
    std::vector<fs::path> files;
    if (fs::is_regular_file(p))
        files.push_back(p);
    else if (fs::is_directory(p))
        for (const auto& entry : fs::directory_iterator(p))
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv) {
    int ran = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& file : InputsIn(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            std::fprintf(stderr, "%s\n", file.c_str());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++ran;
        }
    }
    std::printf("ran %d inputs\n", ran);
    return ran > 0 ? 0 : 1;
}
