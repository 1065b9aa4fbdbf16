#include <climits>
#include <gtest/gtest.h>

#include "platform/ui/MulDiv.h"

namespace {

struct MulDivCase {
    int number, numerator, denominator, expected;
};

TEST(MulDiv, RoundsHalvesAwayFromZeroAndRefusesWhatDoesNotFit) {
    const MulDivCase cases[] = {
        {8, 6, 4, 12},
        {10, 13, 8, 16},
        {14, 13, 8, 23}, // dialog units
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {3, 1, 2, 2},
        {-3, 1, 2, -2},
        {5, 1, -2, -3},
        {-5, -1, 2, 3},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {-2, 1, 3, -1},
        {7, 0, 5, 0},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, // the product needs 64 bits
        {INT_MIN, 1, 1, INT_MIN},
        {-65536, 65536, 2, INT_MIN}, // -2^31 still fits
        {65536, 65536, 2, -1},       // 2^31 does not
        {INT_MAX, 2, 1, -1},
        {INT_MIN, -1, 1, -1},
        {5, 3, 0, -1}, // no divisor
    };
    for (const MulDivCase& c : cases)
        EXPECT_EQ(platform::MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
}

} // namespace
