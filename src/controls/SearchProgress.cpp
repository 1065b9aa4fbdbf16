#include "controls/SearchProgress.h"

#include <algorithm>
#include <cmath>

#include "extract/Search.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/ProgressBar.h"

namespace {

// A rounded value brought into an N-bit integer the way N-bit arithmetic
// would (wrapping), without the undefined behaviour of an out-of-range cast.
template <typename Int> Int Wrapped(double value) {
    constexpr double limit = 9.0e18;
    value = std::isnan(value) ? 0.0 : std::clamp(value, -limit, limit);
    return static_cast<Int>(static_cast<std::int64_t>(value));
}

double Part(std::int64_t done, std::int64_t size) {
    return size > 0 ? static_cast<double>(done) / static_cast<double>(size) : 0.0;
}

void ShowOnGauge(TGauge& gauge, std::int64_t done, std::int64_t size) {
    const auto scaled = Wrapped<std::int32_t>(std::nearbyint(Part(done, size) * gauge.MaxValue()));
    gauge.SetProgress(
        static_cast<std::int32_t>(static_cast<std::int64_t>(scaled) + gauge.MinValue()));
}

void ShowOnBar(TProgressBar& bar, std::int64_t done, std::int64_t size) {
    const auto scaled = Wrapped<std::int16_t>(std::nearbyint(Part(done, size) * bar.Max()));
    bar.SetPosition(static_cast<std::int16_t>(scaled + bar.Min()));
}

} // namespace

SearchProgress ProgressShownOn(QObject* control) {
    if (auto* gauge = qobject_cast<TGauge*>(control))
        return [gauge](std::int64_t done, std::int64_t size) { ShowOnGauge(*gauge, done, size); };
    if (auto* bar = qobject_cast<TProgressBar*>(control))
        return [bar](std::int64_t done, std::int64_t size) { ShowOnBar(*bar, done, size); };
    return {};
}

std::int64_t SearchInFile(std::string_view fileName, std::int64_t start, std::string_view pattern,
                          bool caseSensitive, QObject* progress) {
    return SearchInFile(fileName, start, pattern, caseSensitive, ProgressShownOn(progress));
}
