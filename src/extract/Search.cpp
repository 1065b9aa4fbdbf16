#include "extract/Search.h"

#include <QObject>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "extract/BlockScan.h"
#include "extract/ProgressRelay.h"
#include "fileutils/FileUtils.h"
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
} // namespace

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
    } else if (auto* relay = dynamic_cast<TProgressRelay*>(control)) {
        relay->Show(blockStart, size);
    }
}

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
        FindPattern(static_cast<const unsigned char*>(buffer), length, pattern, caseSensitive);
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
        std::int64_t position = 0;
        result = ScanBlocks(start, openSize, pattern, caseSensitive, progress,
                            [&](std::int64_t blockStart, const unsigned char*& bytes) {
                                if (blockStart != position)
                                    file.Seek(blockStart);
                                const std::int64_t n = file.Read(block.data(), SearchBlockSize);
                                position = blockStart + n;
                                bytes = block.data();
                                return n;
                            });
        file.Close();
    } catch (const platform::EInOutError&) {
        result = -3;
    } catch (const std::bad_alloc&) {
        result = -3;
    }
    return result;
}
