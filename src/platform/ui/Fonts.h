#pragma once
// The fonts the forms are designed with, mapped to faces installed here.
//
// One table maps each designed face ("System", "MS Sans Serif", "Courier New",
// "Arial") to an installed face with close metrics, so the designed pixel
// layouts stay readable. Sizes stay in pixels.
#include <QFont>
#include <QString>
#include <string_view>

namespace platform {

// The installed face standing in for a designed face (names compare ignoring
// case); a face the table does not know is returned as given.
QString SubstituteFace(std::string_view designFace);

// A font by designed face and height in pixels. A negative height is the
// character height, a positive one the cell height (character height plus
// internal leading); 0 takes the default 11-pixel character height.
QFont DesignFont(std::string_view face, int height, bool bold = false);

// The font a new form starts with: "MS Sans Serif", 8 points at 96 pixels
// per inch, that is 11 pixels of character height.
QFont DefaultFormFont();

} // namespace platform
