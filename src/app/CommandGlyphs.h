#pragma once
// The pictures of the main window's command buttons, drawn in code. Where a
// picture holds two images side by side, the second is its disabled look.
// The bottom-left pixel of each carries the colour drawn transparent.
#include <QImage>

namespace glyphs {

QImage ExitGlyph();      // green bracket with an arrow leading out, 32 x 16 (2)
QImage FirstGlyph();     // bar and left-pointing triangle, 20 x 20 (1)
QImage PreviousGlyph();  // left-pointing triangle, 20 x 20 (1)
QImage NextGlyph();      // right-pointing triangle, 20 x 20 (1)
QImage LastGlyph();      // right-pointing triangle and bar, 20 x 20 (1)
QImage DisableGlyph();   // square button between two curved arrows, 40 x 20 (2)
QImage DirectoryGlyph(); // open folder with a curved arrow, 18 x 18 (1)
QImage ExtractGlyph();   // the letters BMP over an upward arrow, 36 x 18 (2)
QImage HelpGlyph();      // blue question mark, 32 x 16 (2)
QImage AboutGlyph();     // information sign "i", 40 x 20 (2)

} // namespace glyphs
