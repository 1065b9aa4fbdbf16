#include "extract/Search.h"

#include <QObject>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "extract/FileUtils.h"
#include "platform/FileObject.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/ProgressBar.h"

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<unsigned char>(c - 'a' + 'A');
    table[0xE4] = 0xC4; // a umlaut
    table[0xF6] = 0xD6; // o umlaut
    table[0xFC] = 0xDC; // u umlaut
    return table;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

using Bytes = const unsigned char*;

// Index of the first match of `pattern` in data[0, n), or -1. The first
// pattern byte is looked for with memchr, which runs at memory speed; only
// its hits are compared further.
std::ptrdiff_t FindCaseSensitive(Bytes data, std::size_t n, std::string_view pattern) {
    const std::size_t m = pattern.size();
    Bytes const lastStart = data + (n - m);
    const auto first = static_cast<unsigned char>(pattern[0]);
    for (Bytes p = data; p <= lastStart; ++p) {
        p = static_cast<Bytes>(std::memchr(p, first, static_cast<std::size_t>(lastStart - p) + 1));
        if (!p)
            return -1;
        // Most candidates fail on their second byte; memcmp only for the rest.
        if (m == 1 || (p[1] == static_cast<unsigned char>(pattern[1]) &&
                       std::memcmp(p + 2, pattern.data() + 2, m - 2) == 0))
            return p - data;
    }
    return -1;
}

bool RestMatchesIgnoringCase(Bytes at, const std::string& upperPattern) {
    for (std::size_t i = 1; i < upperPattern.size(); ++i)
        if (kUpper[at[i]] != static_cast<unsigned char>(upperPattern[i]))
            return false;
    return true;
}

// The same ignoring case. The first pattern byte has at most two forms (its
// upper and its lower case); each form keeps its own memchr cursor, so every
// byte is scanned once per form.
std::ptrdiff_t FindIgnoringCase(Bytes data, std::size_t n, std::string_view pattern) {
    const std::size_t m = pattern.size();
    const std::string upperPattern = UpperCaseGerman(pattern);
    const auto upperFirst = static_cast<unsigned char>(upperPattern[0]);
    int forms[2] = {upperFirst, -1};
    for (int c = 0; c < 256; ++c)
        if (c != upperFirst && kUpper[c] == upperFirst)
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

std::ptrdiff_t FindPattern(Bytes data, std::size_t n, std::string_view pattern,
                           bool caseSensitive) {
    if (pattern.empty())
        return 0;
    if (pattern.size() > n)
        return -1;
    return caseSensitive ? FindCaseSensitive(data, n, pattern) : FindIgnoringCase(data, n, pattern);
}

// A rounded value brought into an N-bit integer the way N-bit arithmetic
// would (wrapping), without the undefined behaviour of an out-of-range cast.
template <typename Int> Int Wrapped(double value) {
    constexpr double limit = 9.0e18;
    value = std::isnan(value) ? 0.0 : std::clamp(value, -limit, limit);
    return static_cast<Int>(static_cast<std::int64_t>(value));
}

// Shows how much of the file lies before the block about to be read. The
// control's maximum is scaled, and the minimum added on; rounding is to the
// nearest value, halves to even.
void ShowProgress(QObject* control, std::int64_t blockStart, std::int64_t size) {
    if (!control)
        return;
    const double fraction =
        size > 0 ? static_cast<double>(blockStart) / static_cast<double>(size) : 0.0;
    if (auto* gauge = dynamic_cast<TGauge*>(control)) {
        const auto scaled = Wrapped<std::int32_t>(std::nearbyint(fraction * gauge->MaxValue()));
        gauge->SetProgress(
            static_cast<std::int32_t>(static_cast<std::int64_t>(scaled) + gauge->MinValue()));
    } else if (auto* bar = dynamic_cast<TProgressBar*>(control)) {
        // The bar keeps 16-bit values and this sum is done in 16 bits.
        const auto scaled = Wrapped<std::int16_t>(std::nearbyint(fraction * bar->Max()));
        bar->SetPosition(static_cast<std::int16_t>(scaled + bar->Min()));
    }
}

} // namespace

char UpCaseGerman(char c) {
    return static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
}

std::string UpperCaseGerman(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = UpCaseGerman(c);
    return result;
}

void SearchBuffer(const void* buffer, std::uint16_t length, std::string_view pattern,
                  bool caseSensitive, int& position, bool& found) {
    const std::ptrdiff_t at =
        FindPattern(static_cast<Bytes>(buffer), length, pattern, caseSensitive);
    found = at >= 0;
    position = found ? static_cast<int>(at) + 1 : 1;
}

std::int64_t SearchInFile(std::string_view fileName, std::int64_t start, std::string_view pattern,
                          bool caseSensitive, QObject* progress) {
    if (pattern.size() > MaxPatternLength)
        return -1;
    const std::int64_t size = FileSizeByName(fileName);
    if (size < start || start < 1)
        return -1;

    std::int64_t result = 0;
    try {
        std::vector<unsigned char> block(SearchBlockSize);
        platform::FileObject file{std::string(fileName)};
        OpenReadOnly(file, 1);
        // The size now that the file is open is the one the blocks go by;
        // the open file tells it without looking the name up again.
        const std::int64_t openSize = file.Size();
        if (start > 1)
            file.Seek(start - 1);
        const auto overlap = static_cast<std::int64_t>(pattern.size()) - 1;
        std::int64_t n = 0;
        do {
            const std::int64_t blockStart = file.Pos();
            ShowProgress(progress, blockStart, openSize);
            n = file.Read(block.data(), SearchBlockSize);
            int position = 0;
            bool found = false;
            SearchBuffer(block.data(), static_cast<std::uint16_t>(n), pattern, caseSensitive,
                         position, found);
            if (found) {
                result = blockStart + position;
                break;
            }
            // A match may begin in the last bytes of a full block and end in
            // the next one, so the next block starts that much earlier.
            if (n == SearchBlockSize && overlap > 0)
                file.Seek(file.Pos() - overlap);
        } while (n != 0 && file.Pos() != openSize);
        file.Close();
    } catch (const platform::EInOutError&) {
        result = -3;
    } catch (const std::bad_alloc&) {
        result = -3;
    }
    return result;
}
