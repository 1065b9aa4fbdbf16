#pragma once
// One line of --json output for each picture file written.
#include <string>

#include "extract/Extractor.h"

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(const std::string& utf8);

// {"source":..,"offset":..,"size":..,"file":..,"width":..,"height":..,
// "bits":..,"kind":..} and, for a resource, "type", "language", "program" and
// "resource" (its name); no line end. Paths as the user sees them (host
// paths).
std::string JsonRecord(const WrittenBitmap& bitmap, const std::string& sourcePath,
                       const std::string& filePath);
