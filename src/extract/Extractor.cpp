#include "extract/Extractor.h"

int BitmapFileNumber = 0;
