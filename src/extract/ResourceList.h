#pragma once
// Which kind of program a file is, and the picture resources it holds.
#include "extract/ProgramResources.h"
#include "platform/FileObject.h"

// Lists the picture resources of the open file (records of one byte). A file
// that is no PE or NE program gives kind None, no resource and no problem.
// Raises platform::EInOutError when the file cannot be read.
ProgramResources ListProgramResources(platform::FileObject& file);
