#pragma once
// The platform's rounding multiply-then-divide, used to turn dialog units
// into pixels.

namespace platform {

// number * numerator / denominator over a 64-bit product, rounded to the
// nearest whole number with halves away from zero. -1 when the denominator is
// 0 or the result does not fit in 32 bits (so -1 is also an honest answer for
// some arguments, as the platform has always had it).
int MulDiv(int number, int numerator, int denominator);

} // namespace platform
