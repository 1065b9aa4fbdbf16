// Lines of a static text: broken at line breaks and blanks (and words past
// the longest given cut), with mnemonic markers resolved before anything is
// measured.
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/ui/Fonts.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextWrap.h"

namespace {

using platform::NoWrap;
using platform::WrapText;

// As std::string, so a failure prints readable lines.
std::vector<std::string> LineTexts(const platform::WrappedText& wrapped) {
    std::vector<std::string> texts;
    for (const platform::TextLine& line : wrapped.lines)
        texts.push_back(line.text.toStdString());
    return texts;
}

const std::string kPathText = "C:\\glyphcollection\\toolbarbuttonslargeset\\arrowleftpushed_x.bmp";
const QString kPath = QString::fromStdString(kPathText);

TEST(TextWrap, BreaksAtLineBreaksAndBlanksAndCutsOnlyWordsPastTheLongest) {
    const QFontMetrics m(platform::DesignFont("Arial", -11, true));
    const auto w = [&](const QString& s) { return m.horizontalAdvance(s); };
    struct Case {
        const char* name;
        QString text;
        int maxWidth;
        std::vector<std::string> lines;
        int longestWord = NoWrap;
    };
    const Case cases[] = {
        {"words fill a line", "one two three", w("one two"), {"one two", "three"}},
        {"a path stays whole after a line break",
         "Error deleting\r\n" + kPath,
         w("Error deleting") + 5,
         {"Error deleting", kPathText}},
        {"a path stays whole after a blank",
         "Error deleting " + kPath,
         w("Error deleting") + 5,
         {"Error deleting", kPathText}},
        {"no break after a hyphen",
         "well-known glyph-set",
         w("well-known glyph-"),
         {"well-known", "glyph-set"}},
        {"blanks at a break are dropped", "a    b  ", w("a"), {"a", "b"}},
        {"leading blanks stay", "  x", NoWrap, {"  x"}},
        {"every kind of line break", "a\r\n\r\nb\nc\rd", NoWrap, {"a", "", "b", "c", "d"}},
        {"a trailing break ends an empty line", "a\r\n", NoWrap, {"a", ""}},
        {"an empty text is one empty line", "", NoWrap, {""}},
        {"no wrap keeps long lines", "one two three", NoWrap, {"one two three"}},
        {"mnemonics are resolved first", "&Save && quit", NoWrap, {"Save & quit"}},
        {"a lone marker at the end marks nothing", "A&", NoWrap, {"A"}},
        {"a word past the longest is cut after a separator",
         "Error deleting " + kPath,
         w("Error deleting"),
         {"Error deleting", "C:\\glyphcollection\\toolbarbuttonslargeset\\",
          "arrowleftpushed_x.bmp"},
         w("C:\\glyphcollection\\toolbarbuttonslargeset\\arrow")},
        {"without a separator at the last character that fits",
         "abcdefgh",
         NoWrap,
         {"abc", "def", "gh"},
         w("abc") + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::WrappedText wrapped = WrapText(m, c.text, c.maxWidth, c.longestWord);
        EXPECT_EQ(LineTexts(wrapped), c.lines);
        int widest = 0;
        for (const platform::TextLine& line : wrapped.lines) {
            EXPECT_EQ(line.width, w(line.text));
            widest = std::max(widest, line.width);
        }
        EXPECT_EQ(wrapped.Size(), QSize(widest, int(c.lines.size()) * m.height()));
    }
}

TEST(TextWrap, AmpersandsUnderlineTheNextCharacterAndRoundTripToQtMarkup) {
    const QFontMetrics m(platform::DesignFont("Arial", -11, true));
    // The marked word moves to the second line; its mark moves with it.
    const platform::WrappedText wrapped =
        WrapText(m, "Save &glyphs && exit", m.horizontalAdvance("Save glyphs"));
    ASSERT_EQ(LineTexts(wrapped), (std::vector<std::string>{"Save glyphs", "& exit"}));
    EXPECT_EQ(wrapped.lines[0].underlined, std::vector<int>{5});
    EXPECT_TRUE(wrapped.lines[1].underlined.empty());
    EXPECT_EQ(wrapped.lines[0].QtMnemonicText(), "Save &glyphs");
    EXPECT_EQ(wrapped.lines[1].QtMnemonicText(), "&& exit");
    // The markers take no room: a marked text is as wide as the plain one.
    EXPECT_EQ(WrapText(m, "&Extract").Size(), WrapText(m, "Extract").Size());
}

// Rightmost dark pixel in rows [top, bottom) of a picture, -1 if none.
int RightmostInk(const QImage& image, int top, int bottom) {
    int rightmost = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                rightmost = std::max(rightmost, x);
    return rightmost;
}

// The label draws the lines WrapText measures. Broken anywhere else (a
// backslash would do), the start of the path would join the first line.
TEST(TextWrap, AWrappingLabelDrawsTheMeasuredLines) {
    TLabel label;
    label.setFont(platform::DesignFont("Arial", -11, true));
    label.setWordWrap(true);
    label.SetAutoSize(false);
    label.setText("Error deleting " + kPath);
    const QFontMetrics m = label.fontMetrics();
    const QSize needed = WrapText(m, label.text(), 200).Size();
    label.resize(needed);
    ASSERT_EQ(needed.width(), m.horizontalAdvance(kPath));
    ASSERT_EQ(LineTexts(label.Lines()), (std::vector<std::string>{"Error deleting", kPathText}));

    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label.setPalette(palette);
    label.setAutoFillBackground(true);
    const QImage image = label.grab().toImage();
    const int lineHeight = m.height();
    EXPECT_LE(RightmostInk(image, 0, lineHeight), m.horizontalAdvance("Error deleting"));
    EXPECT_GT(RightmostInk(image, lineHeight, 2 * lineHeight),
              image.width() - m.horizontalAdvance("bmp"));
}

} // namespace
