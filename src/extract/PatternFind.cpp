#include "extract/PatternFind.h"

#include <cstring>
#include <string>

#include "extract/GermanCase.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define SPORVIK_PAIR_VECTORS 1
#endif

namespace {

using Bytes = const unsigned char*;

// The first start i in [from, limit) with d[i] == a and d[i + 1] == b, or
// limit. d[limit] must be readable. Random data holds a single pattern byte
// every 256 bytes, so looking for the first byte alone (memchr) stops and
// restarts far too often; the pair is rare and a whole vector of starts is
// tested for it at once.
using PairFinder = std::size_t (*)(Bytes d, std::size_t from, std::size_t limit, unsigned char a,
                                   unsigned char b);

std::size_t FindPairPlain(Bytes d, std::size_t i, std::size_t limit, unsigned char a,
                          unsigned char b) {
    for (; i < limit; ++i)
        if (d[i] == a && d[i + 1] == b)
            return i;
    return limit;
}

#ifdef SPORVIK_PAIR_VECTORS

std::size_t FindPairSse2(Bytes d, std::size_t i, std::size_t limit, unsigned char a,
                         unsigned char b) {
    const __m128i va = _mm_set1_epi8(static_cast<char>(a));
    const __m128i vb = _mm_set1_epi8(static_cast<char>(b));
    auto pairs = [&](std::size_t at) {
        const auto* p = reinterpret_cast<const __m128i*>(d + at);
        const auto* q = reinterpret_cast<const __m128i*>(d + at + 1);
        return _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(p), va),
                             _mm_cmpeq_epi8(_mm_loadu_si128(q), vb));
    };
    // The last vector read ends at d[i + 16], which must not pass d[limit].
    for (; i + 16 <= limit; i += 16)
        if (const int mask = _mm_movemask_epi8(pairs(i)))
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    return FindPairPlain(d, i, limit, a, b);
}

// Starts at..at+31 where the pair begins, as a vector of 0xFF bytes.
__attribute__((target("avx2"))) inline __m256i PairsAvx2(Bytes at, __m256i va, __m256i vb) {
    const auto* p = reinterpret_cast<const __m256i*>(at);
    const auto* q = reinterpret_cast<const __m256i*>(at + 1);
    return _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(p), va),
                            _mm256_cmpeq_epi8(_mm256_loadu_si256(q), vb));
}

__attribute__((target("avx2"))) inline unsigned MaskAvx2(__m256i m) {
    return static_cast<unsigned>(_mm256_movemask_epi8(m));
}

__attribute__((target("avx2"))) std::size_t FindPairAvx2(Bytes d, std::size_t i, std::size_t limit,
                                                         unsigned char a, unsigned char b) {
    const __m256i va = _mm256_set1_epi8(static_cast<char>(a));
    const __m256i vb = _mm256_set1_epi8(static_cast<char>(b));
    // Two vectors a round: a hit is rare, so their masks are tested together.
    for (; i + 64 <= limit; i += 64) {
        const __m256i lo = PairsAvx2(d + i, va, vb);
        const __m256i hi = PairsAvx2(d + i + 32, va, vb);
        const __m256i any = _mm256_or_si256(lo, hi);
        if (_mm256_testz_si256(any, any))
            continue;
        if (const unsigned mask = MaskAvx2(lo))
            return i + static_cast<std::size_t>(__builtin_ctz(mask));
        return i + 32 + static_cast<std::size_t>(__builtin_ctz(MaskAvx2(hi)));
    }
    for (; i + 32 <= limit; i += 32)
        if (const unsigned mask = MaskAvx2(PairsAvx2(d + i, va, vb)))
            return i + static_cast<std::size_t>(__builtin_ctz(mask));
    return FindPairSse2(d, i, limit, a, b);
}

PairFinder ChoosePairFinder() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? FindPairAvx2 : FindPairSse2;
}

#else

PairFinder ChoosePairFinder() {
    return FindPairPlain;
}

#endif

const PairFinder kFindPair = ChoosePairFinder();

std::ptrdiff_t FindCaseSensitive(Bytes data, std::size_t n, std::string_view pattern) {
    const std::size_t m = pattern.size();
    const auto first = static_cast<unsigned char>(pattern[0]);
    if (m == 1) {
        const void* at = std::memchr(data, first, n);
        return at ? static_cast<Bytes>(at) - data : -1;
    }
    const auto second = static_cast<unsigned char>(pattern[1]);
    const std::size_t starts = n - m + 1;
    for (std::size_t i = 0;; ++i) {
        i = kFindPair(data, i, starts, first, second);
        if (i == starts)
            return -1;
        if (std::memcmp(data + i + 2, pattern.data() + 2, m - 2) == 0)
            return static_cast<std::ptrdiff_t>(i);
    }
}

bool RestMatchesIgnoringCase(Bytes at, const std::string& upperPattern) {
    for (std::size_t i = 1; i < upperPattern.size(); ++i)
        if (static_cast<unsigned char>(UpCaseGerman(static_cast<char>(at[i]))) !=
            static_cast<unsigned char>(upperPattern[i]))
            return false;
    return true;
}

// The first pattern byte has at most two forms (its upper and its lower
// case); each form keeps its own memchr cursor, so every byte is scanned once
// per form.
std::ptrdiff_t FindIgnoringCase(Bytes data, std::size_t n, std::string_view pattern) {
    const std::size_t m = pattern.size();
    const std::string upperPattern = UpperCaseGerman(pattern);
    const auto upperFirst = static_cast<unsigned char>(upperPattern[0]);
    int forms[2] = {upperFirst, -1};
    for (int c = 0; c < 256; ++c)
        if (c != upperFirst &&
            static_cast<unsigned char>(UpCaseGerman(static_cast<char>(c))) == upperFirst)
            forms[1] = c;

    Bytes const end = data + (n - m) + 1; // one past the last start
    auto next = [end](Bytes from, int form) -> Bytes {
        if (form < 0 || from >= end)
            return nullptr;
        return static_cast<Bytes>(std::memchr(from, form, static_cast<std::size_t>(end - from)));
    };
    Bytes hit[2] = {next(data, forms[0]), next(data, forms[1])};
    for (;;) {
        const int k = !hit[0] ? 1 : !hit[1] ? 0 : (hit[1] < hit[0] ? 1 : 0);
        if (!hit[k])
            return -1;
        if (RestMatchesIgnoringCase(hit[k], upperPattern))
            return hit[k] - data;
        hit[k] = next(hit[k] + 1, forms[k]);
    }
}

} // namespace

std::ptrdiff_t FindPattern(const unsigned char* data, std::size_t n, std::string_view pattern,
                           bool caseSensitive) {
    if (pattern.empty())
        return 0;
    if (pattern.size() > n)
        return -1;
    return caseSensitive ? FindCaseSensitive(data, n, pattern) : FindIgnoringCase(data, n, pattern);
}
