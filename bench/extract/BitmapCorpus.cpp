#include "BitmapCorpus.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <zlib.h>

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

namespace {

// Random bytes of `size` with the objects copied over them at their
// offsets, written a megabyte at a time. Returns the "BM" pairs the random
// bytes hold by chance.
std::int64_t WriteFilled(const std::filesystem::path& path, std::int64_t size, std::mt19937_64& rng,
                         const std::map<std::int64_t, std::string>& placed) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk(1 << 20, '\0');
    char previous = 0;
    std::int64_t chancePairs = 0;
    for (std::int64_t offset = 0; offset < size; offset += std::ssize(chunk)) {
        const auto length =
            static_cast<std::size_t>(std::min<std::int64_t>(std::ssize(chunk), size - offset));
        chunk.resize(length);
        for (std::size_t i = 0; i < length; i += 8) {
            const std::uint64_t r = rng();
            for (std::size_t b = 0; b < 8 && i + b < length; ++b)
                chunk[i + b] = static_cast<char>(r >> (8 * b));
        }
        for (std::size_t i = 0; i < length; ++i)
            chancePairs += (i ? chunk[i - 1] : previous) == 'B' && chunk[i] == 'M';
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
    return chancePairs;
}

// One object in each of equal stretches of the file, at a random place in
// its stretch, in the order given.
std::map<std::int64_t, std::string> Placed(std::vector<std::string> objects, std::int64_t size,
                                           std::mt19937_64& rng) {
    std::map<std::int64_t, std::string> placed;
    const std::int64_t stretch = size / std::max<std::int64_t>(std::ssize(objects), 1);
    for (std::size_t k = 0; k < objects.size(); ++k) {
        const auto room = static_cast<std::uint64_t>(stretch - std::ssize(objects[k]));
        if (stretch <= std::ssize(objects[k]))
            throw std::runtime_error("an object larger than its stretch of the file");
        placed[static_cast<std::int64_t>(k) * stretch + static_cast<std::int64_t>(rng() % room)] =
            std::move(objects[k]);
    }
    return placed;
}

} // namespace

Corpus WriteCorpus(const std::filesystem::path& path, const CorpusPlan& plan) {
    std::mt19937_64 rng(plan.seed);
    Corpus corpus;
    // Bitmaps and decoys in random order.
    const int objects = plan.bitmaps + plan.decoys;
    std::vector<bool> isBitmap(static_cast<std::size_t>(objects), false);
    std::fill(isBitmap.begin(), isBitmap.begin() + plan.bitmaps, true);
    std::shuffle(isBitmap.begin(), isBitmap.end(), rng);
    std::vector<std::string> all;
    for (int k = 0; k < objects; ++k) {
        std::string bytes = isBitmap[static_cast<std::size_t>(k)]
                                ? MakeBitmap(rng, plan.maxBitmapSize)
                                : MakeDecoy(rng, plan.maxBitmapSize, k);
        if (isBitmap[static_cast<std::size_t>(k)])
            corpus.bitmaps.push_back(bytes);
        all.push_back(std::move(bytes));
    }
    const auto placed = Placed(std::move(all), plan.size, rng);
    std::size_t k = 0; // the stretches lie in the order of the objects
    for (const auto& [at, bytes] : placed)
        if (isBitmap[k++])
            corpus.offsets.push_back(at);
    corpus.chancePairs = WriteFilled(path, plan.size, rng, placed);
    return corpus;
}

namespace {

std::string Random(std::mt19937_64& rng, std::size_t n) {
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(rng());
    return s;
}

std::string BigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF),
            static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}

std::string Chunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return BigEndian(static_cast<std::uint32_t>(data.size())) + body +
           BigEndian(static_cast<std::uint32_t>(crc));
}

constexpr std::uint32_t kHeaderSizes[] = {12, 40, 52, 56, 64, 108, 124};

// An uncompressed bitmap with the header size given, of any depth that
// header holds, up to 160 x 120 pixels: most are over 5000 bytes.
std::string MakeWideBitmap(std::mt19937_64& rng, std::uint32_t headerSize) {
    const std::uint32_t depths[] = {1, 4, 8, 24, 32, 16};
    const std::uint32_t bits = depths[rng() % (headerSize == 12 ? 4 : 6)];
    const auto width = static_cast<std::uint32_t>(1 + rng() % 160);
    const auto height = static_cast<std::uint32_t>(1 + rng() % 120);
    const std::uint32_t palette = bits <= 8 ? (headerSize == 12 ? 3u : 4u) << bits : 0;
    const std::uint32_t row = (width * bits + 31) / 32 * 4;
    const std::uint32_t offset = 14 + headerSize + palette;
    std::string s = std::string(offset, '\0') + Random(rng, row * height);
    s.replace(0, 2, "BM");
    PutLE(s, 2, static_cast<std::uint32_t>(s.size()), 4);
    PutLE(s, 10, offset, 4);
    PutLE(s, 14, headerSize, 4);
    if (headerSize == 12) {
        PutLE(s, 18, width, 2);
        PutLE(s, 20, height, 2);
        PutLE(s, 22, 1, 2);
        PutLE(s, 24, bits, 2);
    } else {
        PutLE(s, 18, width, 4);
        PutLE(s, 22, height, 4);
        PutLE(s, 26, 1, 2);
        PutLE(s, 28, bits, 2);
        PutLE(s, 34, row * height, 4);
    }
    for (std::size_t i = 14 + headerSize; i < offset; ++i)
        s[i] = static_cast<char>(rng()); // the palette
    return s;
}

// A PNG file of random size; its data chunks hold random bytes, which
// neither we nor the peer decode.
std::string MakePng(std::mt19937_64& rng) {
    const auto width = static_cast<std::uint32_t>(1 + rng() % 256);
    const auto height = static_cast<std::uint32_t>(1 + rng() % 256);
    std::string png = "\x89PNG\r\n\x1a\n";
    png += Chunk("IHDR", BigEndian(width) + BigEndian(height) + std::string("\x08\x06\0\0\0", 5));
    for (std::uint64_t n = 1 + rng() % 3; n > 0; --n)
        png += Chunk("IDAT", Random(rng, static_cast<std::size_t>(100 + rng() % 20000)));
    return png + Chunk("IEND", "");
}

// A bitmap over 5000 bytes with one rule of the header rule broken, or a
// PNG file damaged or cut short.
std::string MakeWideDecoy(std::mt19937_64& rng, int which) {
    std::string s;
    do
        s = MakeWideBitmap(rng, 40);
    while (s.size() <= 5000);
    switch (which % 10) {
    case 0:
        PutLE(s, 6, 1, 2); // reserved
        break;
    case 1:
        PutLE(s, 14, 41, 4); // header size
        break;
    case 2:
        PutLE(s, 26, 2, 2); // planes
        break;
    case 3:
        PutLE(s, 28, 7, 2); // depth
        break;
    case 4:
        PutLE(s, 30, 9, 4); // compression
        break;
    case 5:
        PutLE(s, 18, 0, 4); // width
        break;
    case 6:
        PutLE(s, 10, 53, 4); // pixels inside the headers
        break;
    case 7:
        PutLE(s, 2, static_cast<std::uint32_t>(s.size() - 1), 4); // short of its pixels
        break;
    case 8: {
        s = MakePng(rng);
        s[40] = static_cast<char>(s[40] ^ 1); // fails its checksum
        break;
    }
    default:
        s = MakePng(rng);
        s.resize(s.size() - 12); // no end chunk
        break;
    }
    return s;
}

} // namespace

std::vector<std::string> MakeSharedPictures(int count, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::vector<std::string> shared;
    for (int i = 0; i < count; ++i)
        shared.push_back(i % 2 ? MakePng(rng) : MakeWideBitmap(rng, kHeaderSizes[i % 7]));
    return shared;
}

WideCorpus WriteWideCorpus(const std::filesystem::path& path, const WidePlan& plan,
                           const std::vector<std::string>& shared) {
    std::mt19937_64 rng(plan.seed);
    WideCorpus corpus;
    std::vector<std::string> objects;
    for (int k = 0; k < plan.pictures; ++k) {
        // Every header size in turn, and a PNG file every fourth.
        std::string p = k % 4 == 3 ? MakePng(rng) : MakeWideBitmap(rng, kHeaderSizes[k % 7]);
        corpus.pictures.push_back(p);
        objects.push_back(std::move(p));
    }
    for (int k = 0; k < plan.decoys; ++k)
        objects.push_back(MakeWideDecoy(rng, k));
    for (int k = 0; k < plan.shared && !shared.empty(); ++k) {
        const std::string& p = shared[rng() % shared.size()];
        corpus.pictures.push_back(p);
        objects.push_back(p);
    }
    std::shuffle(objects.begin(), objects.end(), rng);
    corpus.chancePairs =
        WriteFilled(path, plan.size, rng, Placed(std::move(objects), plan.size, rng));
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
