#pragma once
// Static text broken into lines the way the platform draws a label: lines
// end at a line break ("\r\n", or a lone "\r" or "\n") and, when a width is
// given, at blanks, so that a line fits that width. A word longer than the
// width stands whole on its own line and makes the text wider, up to the
// longest word given: a word wider than that is cut (after a path separator
// where one fits), and goes on on the next line. "&x" underlines x and is
// shown as x; "&&" shows one "&".
//
// The message dialog measures its text with this and its label draws with
// it, so the measured lines are the drawn lines.
#include <QSize>
#include <QString>
#include <limits>
#include <vector>

class QFontMetrics;

namespace platform {

struct TextLine {
    QString text;                // as shown, mnemonic markers dropped
    std::vector<int> underlined; // positions in `text` drawn underlined
    int width = 0;               // in pixels

    // The line in Qt's mnemonic markup, for drawing with Qt::TextShowMnemonic.
    QString QtMnemonicText() const;
};

struct WrappedText {
    std::vector<TextLine> lines; // never empty: an empty text is one empty line
    int lineHeight = 0;
    // The widest line by the lines' total height.
    QSize Size() const;
};

constexpr int NoWrap = std::numeric_limits<int>::max();

WrappedText WrapText(const QFontMetrics& metrics, const QString& text, int maxWidth = NoWrap,
                     int longestWord = NoWrap);

} // namespace platform
