#pragma once
// Bitmap files as they lie inside an executable, and executables built from
// them, for the extractor's tests.
#include <cstdint>
#include <string>

namespace testsupport {

// The 54 header bytes and the body of a bitmap file declaring `declaredSize`
// bytes, `length` bytes long in all (at least 54). The body is filled from
// `seed` so that no two bitmaps look alike, and holds no "BM".
struct BitmapBytes {
    std::int32_t declaredSize = 0;
    int length = 0;
    unsigned seed = 1;
    std::uint16_t reserved1 = 0;
    std::uint16_t reserved2 = 0;
    std::uint32_t infoSize = 40;
    std::uint16_t planes = 1;

    std::string Bytes() const;
};

// A bitmap of `size` bytes that passes every header test.
std::string ValidBitmap(std::int32_t size, unsigned seed);

// Filler that holds no "B", so no "BM" can form across a joint.
std::string Filler(std::size_t size, char c = 'x');

// `data` with `what` written over it at `at` (growing it when needed).
std::string Put(std::string data, std::size_t at, const std::string& what);

} // namespace testsupport
