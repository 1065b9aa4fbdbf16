#pragma once
// The resource directory of a PE file (32- and 64-bit): a tree of types,
// names and languages, each leaf a data entry.
#include "extract/ProgramHeaders.h"
#include "extract/ProgramResources.h"

// Adds the picture resources of the PE file with these headers to `list`.
// A directory that leads back to one already read is a loop; it is reported
// and not followed.
void ListPeResources(TBoundedReader& reader, const PeHeaders& headers, ProgramResources& list);
