// A glyph that cannot be read while a page fills: the user sees which file
// failed, and the program goes on working once the file can be read again.
#include <cerrno>

#include "InjectedFault.h"
#include "MainWindowFixture.h"
#include "ModalAnswer.h"

using testsupport::InjectedFault;

namespace {

TEST_F(MainWindowTest, AGlyphReadFailureIsReportedAndTheNextTryWorks) {
    WriteGlyphs("prog", 33);
    auto& w = Open();
    ASSERT_EQ(w.Pages().GlyphCount(), 33);
    {
        testsupport::ModalAnswer answer;
        answer.Press("OK");
        InjectedFault fault("posix/io/rw/read", EIO, true);
        w.SpeedButtonNext->Click();
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].text, "Cannot read file \"C:\\prog\\g0033.bmp\".");
    }
    EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(1, 32));
    EXPECT_TRUE(w.SpeedButtonNext->isEnabled());

    w.SpeedButtonNext->Click();
    EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(33, 33));
    EXPECT_EQ(Glyph(1)->Hint(), "g0033.bmp");
    EXPECT_EQ(Glyph(1)->Glyph().size(), QSize(16, 16));
}

} // namespace
