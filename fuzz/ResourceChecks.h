#pragma once
// What the resource walkers' fuzz targets promise of any file: every
// resource listed lies inside it, and every picture made from them is a
// whole file of its kind whose parts lie inside it.
#include <string>

#include "extract/ProgramResources.h"
#include "platform/FileObject.h"

namespace fuzz {

// Writes `bytes` as C:\program.exe and opens it for reading.
void OpenProgram(const std::string& bytes, platform::FileObject& file);

// Checks the listing against the file's bytes, then makes every picture.
void CheckPictures(const ProgramResources& list, const std::string& bytes);

} // namespace fuzz
