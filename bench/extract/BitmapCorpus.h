#pragma once
// A large file of random bytes with bitmap files stored in it, as the
// extractor's speed is measured on: real bitmaps of varied sizes and bit
// depths, decoys that fail one header test each, and the "BM" pairs that
// random bytes hold by chance.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct CorpusPlan {
    std::int64_t size = 256LL << 20;
    int bitmaps = 200;
    int decoys = 200;
    int maxBitmapSize = 5000;
    std::uint64_t seed = 20261208;
};

struct Corpus {
    // The bitmaps stored, each as the bytes of its whole file, and where
    // each starts in the file.
    std::vector<std::string> bitmaps;
    std::vector<std::int64_t> offsets;
    std::int64_t chancePairs = 0; // "BM" pairs in the random bytes
};

// Writes the file a megabyte at a time, so the writer's own memory stays small.
Corpus WriteCorpus(const std::filesystem::path& path, const CorpusPlan& plan);

// How a tool's output files compare with the stored bitmaps: files equal to
// a stored bitmap (each counted once), files equal to none, and stored
// bitmaps no file equals.
struct Tally {
    int exact = 0;
    int wrong = 0;
    int missed = 0;
};
Tally CompareOutput(const std::vector<std::filesystem::path>& files,
                    const std::vector<std::string>& bitmaps);

} // namespace bench
