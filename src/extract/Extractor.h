#pragma once
// Carving the bitmaps stored inside an executable into numbered .bmp files.

// The number of the next <n>.bmp file the extractor writes; it starts at 0
// when the program starts and goes on counting across extractions.
extern int BitmapFileNumber;
