#pragma once
// The platform's system colours by index, as the forms name them, in the
// classic light scheme the program's glyphs were drawn for, and the palette
// every window and control is drawn in, made of them.
#include <QColor>
#include <QPalette>

namespace platform {

constexpr int COLOR_WINDOW = 5;          // the background of edits and lists
constexpr int COLOR_WINDOWTEXT = 8;      // text in windows
constexpr int COLOR_INACTIVEBORDER = 11; // the grey of a disabled control's face
constexpr int COLOR_HIGHLIGHT = 13;      // selected items
constexpr int COLOR_HIGHLIGHTTEXT = 14;  // text of selected items
constexpr int COLOR_BTNFACE = 15;        // the face of buttons and dialogs
constexpr int COLOR_BTNSHADOW = 16;      // the inner shadow edge
constexpr int COLOR_GRAYTEXT = 17;       // disabled text
constexpr int COLOR_BTNTEXT = 18;        // text on buttons
constexpr int COLOR_BTNHIGHLIGHT = 20;   // the outer light edge
constexpr int COLOR_3DDKSHADOW = 21;     // the outer shadow edge
constexpr int COLOR_3DLIGHT = 22;        // the inner light edge
constexpr int COLOR_INFOTEXT = 23;       // tool tip text
constexpr int COLOR_INFOBK = 24;         // tool tip background

// The colour of a system colour index; black for an index we do not keep.
QColor GetSysColor(int index);

// The palette of the classic scheme, the same in every colour group except
// that disabled text is grey and disabled edits show the face colour.
QPalette ClassicPalette();

} // namespace platform
