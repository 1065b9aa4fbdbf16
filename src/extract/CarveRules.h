#pragma once
// What the carving scan looks for beyond the window's rules. All off by
// default: then it takes what the window's extract command takes and nothing
// more.
#include <cstdint>

// The window's bound: bitmaps up to this declared size are taken, and a
// larger one ends the scan.
constexpr int MaxBitmapSize = 5000;

struct CarveRules {
    bool anySize = false;     // bitmaps of any declared size; a large one ends nothing
    bool everyHeader = false; // information headers of 12 to 124 bytes, not only 40
    bool png = false;         // PNG files too
    // Whether anything beyond the window's rules is asked for.
    bool Wide() const { return anySize || everyHeader || png; }
};
