#include "platform/ui/MulDiv.h"

#include <cstdint>
#include <limits>

namespace platform {

namespace {

std::uint64_t Magnitude(std::int64_t value) {
    return value < 0 ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
}

} // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t{number} * numerator;
    // Rounding the magnitudes makes halves go away from zero on both sides.
    const std::uint64_t divisor = Magnitude(denominator);
    const std::uint64_t quotient = (Magnitude(product) + divisor / 2) / divisor;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t result =
        negative ? -static_cast<std::int64_t>(quotient) : static_cast<std::int64_t>(quotient);
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(result);
}

} // namespace platform
