#pragma once
// How a run of the extractor carves, names and writes beyond what the
// window does: the scan's rules, names that say where a file came from, and
// each picture written once. All off by default.
#include "extract/CarveRules.h"

class TNameBook;
class TDuplicateIndex;

struct CarveOptions {
    CarveRules rules;
    // Set: carved files are named after their source and position, and every
    // name is claimed here, so that no two files of the run share one.
    // Null: they are numbered, as the window numbers them.
    TNameBook* names = nullptr;
    // Set: a picture whose bytes were written before in the run is not
    // written again, and told as a duplicate of that file.
    TDuplicateIndex* once = nullptr;
};
