#pragma once
// The resource table of a 16-bit Windows program (NE): a list of types, each
// with its resources, every offset and length counted in units of a power of
// two the table gives first; names are counted strings further on in the
// table.
#include "extract/BoundedReader.h"
#include "extract/ProgramResources.h"

// Adds the picture resources of the NE program whose header lies at
// `headerAt` to `list`. A table that runs past its end or past the file, an
// impossible unit, or a resource outside the file is reported; what was
// sound before it is kept. An OS/2 program, whose table is laid out
// otherwise, is left alone (kind None).
void ListNeResources(TBoundedReader& reader, std::int64_t headerAt, ProgramResources& list);
