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

// A file of random bytes holding the pictures the carving options take:
// bitmaps of every header size, most over 5000 bytes, and PNG files; decoys
// that break one rule of the header rule each, over 5000 bytes so the
// window's rules take none, and PNG files damaged or cut short; and
// `shared` pictures, picked at random from a pool the files share, which
// make duplicates across files.
struct WidePlan {
    std::int64_t size = 4LL << 20;
    int pictures = 12;
    int decoys = 10;
    int shared = 2;
    std::uint64_t seed = 1;
};

struct WideCorpus {
    std::vector<std::string> pictures; // whole files, shared ones included
    std::int64_t chancePairs = 0;
};

std::vector<std::string> MakeSharedPictures(int count, std::uint64_t seed);
WideCorpus WriteWideCorpus(const std::filesystem::path& path, const WidePlan& plan,
                           const std::vector<std::string>& shared);

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
