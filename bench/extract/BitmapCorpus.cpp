#include "BitmapCorpus.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

namespace bench {

namespace {

void PutLE(std::string& s, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A complete bitmap file: 1, 4, 8 or 24 bits a pixel, a palette where the
// depth has one, rows padded to four bytes, random pixels, at most maxSize.
std::string MakeBitmap(std::mt19937_64& rng, int maxSize) {
    const int depths[] = {1, 4, 8, 24};
    for (;;) {
        const int bits = depths[rng() % 4];
        const int width = 1 + static_cast<int>(rng() % 64);
        const int height = 1 + static_cast<int>(rng() % 64);
        const int palette = bits <= 8 ? (1 << bits) * 4 : 0;
        const int row = (width * bits + 31) / 32 * 4;
        const int size = 54 + palette + row * height;
        if (size > maxSize)
            continue;
        std::string s(static_cast<std::size_t>(size), '\0');
        for (std::size_t i = 54; i < s.size(); ++i)
            s[i] = static_cast<char>(rng());
        s[0] = 'B';
        s[1] = 'M';
        PutLE(s, 2, static_cast<std::uint32_t>(size), 4);
        PutLE(s, 10, static_cast<std::uint32_t>(54 + palette), 4);
        PutLE(s, 14, 40, 4);
        PutLE(s, 18, static_cast<std::uint32_t>(width), 4);
        PutLE(s, 22, static_cast<std::uint32_t>(height), 4);
        PutLE(s, 26, 1, 2);
        PutLE(s, 28, static_cast<std::uint32_t>(bits), 2);
        PutLE(s, 34, static_cast<std::uint32_t>(row * height), 4);
        PutLE(s, 38, 2835, 4);
        PutLE(s, 42, 2835, 4);
        return s;
    }
}

// A bitmap spoilt in one of the four header fields the extractor tests.
std::string MakeDecoy(std::mt19937_64& rng, int maxSize, int which) {
    std::string s = MakeBitmap(rng, maxSize);
    switch (which % 4) {
    case 0:
        PutLE(s, 6, 1 + static_cast<std::uint32_t>(rng() % 0xFFFF), 2); // bfReserved1
        break;
    case 1:
        PutLE(s, 8, 1 + static_cast<std::uint32_t>(rng() % 0xFFFF), 2); // bfReserved2
        break;
    case 2:
        PutLE(s, 14, (rng() & 1) ? 12 : 108, 4); // another information header
        break;
    default:
        PutLE(s, 26, 0, 2); // biPlanes
        break;
    }
    return s;
}

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

Corpus WriteCorpus(const std::filesystem::path& path, const CorpusPlan& plan) {
    std::mt19937_64 rng(plan.seed);
    Corpus corpus;
    // One object in each of equal stretches of the file, at a random place
    // in its stretch; bitmaps and decoys in random order.
    const int objects = plan.bitmaps + plan.decoys;
    std::vector<bool> isBitmap(static_cast<std::size_t>(objects), false);
    std::fill(isBitmap.begin(), isBitmap.begin() + plan.bitmaps, true);
    std::shuffle(isBitmap.begin(), isBitmap.end(), rng);
    const std::int64_t stretch = plan.size / objects;
    std::map<std::int64_t, std::string> placed;
    for (int k = 0; k < objects; ++k) {
        std::string bytes = isBitmap[static_cast<std::size_t>(k)]
                                ? MakeBitmap(rng, plan.maxBitmapSize)
                                : MakeDecoy(rng, plan.maxBitmapSize, k);
        const auto room = static_cast<std::uint64_t>(stretch - std::ssize(bytes));
        const std::int64_t at = k * stretch + static_cast<std::int64_t>(rng() % room);
        placed[at] = bytes;
        if (isBitmap[static_cast<std::size_t>(k)]) {
            corpus.bitmaps.push_back(std::move(bytes));
            corpus.offsets.push_back(at);
        }
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk(1 << 20, '\0');
    char previous = 0;
    for (std::int64_t offset = 0; offset < plan.size; offset += std::ssize(chunk)) {
        const auto length =
            static_cast<std::size_t>(std::min<std::int64_t>(std::ssize(chunk), plan.size - offset));
        chunk.resize(length);
        for (std::size_t i = 0; i < length; i += 8) {
            const std::uint64_t r = rng();
            for (std::size_t b = 0; b < 8 && i + b < length; ++b)
                chunk[i + b] = static_cast<char>(r >> (8 * b));
        }
        for (std::size_t i = 0; i < length; ++i)
            corpus.chancePairs += (i ? chunk[i - 1] : previous) == 'B' && chunk[i] == 'M';
        // Objects are copied over the random bytes, also across a chunk's end.
        for (auto it = placed.begin(); it != placed.end() && it->first < offset + std::ssize(chunk);
             ++it) {
            const std::int64_t from = std::max(it->first, offset);
            const std::int64_t to =
                std::min(it->first + std::ssize(it->second), offset + std::ssize(chunk));
            for (std::int64_t p = from; p < to; ++p)
                chunk[static_cast<std::size_t>(p - offset)] =
                    it->second[static_cast<std::size_t>(p - it->first)];
        }
        previous = chunk.back();
        out.write(chunk.data(), std::ssize(chunk));
    }
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    return corpus;
}

Tally CompareOutput(const std::vector<std::filesystem::path>& files,
                    const std::vector<std::string>& bitmaps) {
    std::map<std::string, int> wanted;
    for (std::size_t i = 0; i < bitmaps.size(); ++i)
        wanted[bitmaps[i]] = static_cast<int>(i);
    std::set<int> matched;
    Tally t;
    for (const auto& f : files) {
        const auto it = wanted.find(ReadAll(f));
        if (it == wanted.end())
            ++t.wrong;
        else
            matched.insert(it->second);
    }
    t.exact = static_cast<int>(matched.size());
    t.missed = static_cast<int>(bitmaps.size()) - t.exact;
    return t;
}

} // namespace bench
