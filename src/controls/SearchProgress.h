#pragma once
// A file search's progress shown on a gauge or a progress bar: the window's
// way of showing how far a search has come.
#include <cstdint>
#include <string_view>

#include "extract/FileScan.h"

class QObject;

// Shows the part of the file before each block on `control` when that is a
// TGauge or a TProgressBar: the control's maximum scaled by the part, rounded
// to the nearest value (halves to even), and its minimum added on; the bar
// keeps 16-bit values and does that sum in 16 bits. Any other object, or
// null, shows nothing.
SearchProgress ProgressShownOn(QObject* control);

// SearchInFile (extract/Search.h) with its progress shown on `progress` as
// ProgressShownOn shows it.
std::int64_t SearchInFile(std::string_view fileName, std::int64_t start, std::string_view pattern,
                          bool caseSensitive, QObject* progress);
