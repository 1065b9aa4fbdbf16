#pragma once
// The rule a "BM" must pass to be carved as a bitmap beyond the window's
// four header tests: its two headers agree with each other and with the
// file, so that bytes which merely begin with "BM" are never taken.
#include <cstddef>
#include <cstdint>

#include "extract/CarveRules.h"

// The file header and the largest information header, the most a verdict
// reads.
constexpr std::size_t BitmapHeadersRead = 14 + 124;

enum class HeaderVerdict {
    Bitmap,      // the headers describe a bitmap the file holds whole
    NotABitmap,  // they disagree, with each other or with the rules
    RunsPastEnd, // they agree, but the declared size reaches past the file's end
};

// Judges the bytes at a "BM": `at` holds `available` bytes from the "B" (up
// to BitmapHeadersRead), and `remaining` bytes of the file lie from the "B"
// to its end.
HeaderVerdict JudgeBitmapHeaders(const unsigned char* at, std::size_t available,
                                 std::int64_t remaining, const CarveRules& rules);

// The window's four tests: both reserved words 0, a 40-byte information
// header, one plane.
bool PassesWindowTests(const unsigned char* at, std::size_t available);
// What the window takes: the four tests and a declared size from 1 to
// MaxBitmapSize, also when that size reaches past the file's end.
bool WindowTakes(const unsigned char* at, std::size_t available);
