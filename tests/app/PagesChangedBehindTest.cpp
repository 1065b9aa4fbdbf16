// Another program changes the shown directory between two page commands: the
// next command shows the directory as it is now, never a listing from before.
#include "HostFiles.h"
#include "MainWindowFixture.h"

#include <QObject>
#include <filesystem>
#include <functional>

#include "ModalAnswer.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressBar.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Counts the bar's steps: each one shows a position above the minimum, while
// wrapping round and the reset at the end of a walk show 0.
class StepCounter {
public:
    explicit StepCounter(TProgressBar* bar) {
        QObject::connect(bar, &TProgressBar::positionChanged, &context_, [this](int position) {
            if (position > 0)
                ++steps_;
        });
    }
    int Steps() const { return steps_; }

private:
    QObject context_;
    int steps_ = 0;
};

TEST_F(MainWindowTest, NextPageShowsTheDirectoryAsChangedBehindItsBack) {
    struct Case {
        const char* what;
        std::function<void(const fs::path& dir)> change;
        std::vector<std::string> shown; // on Next Page from page 1 of 40
        int lastShown;
        int steps;
        std::string failure; // the report, when the page cannot be filled
    };
    const Case cases[] = {
        {"added", [](const fs::path& d) { fs::copy_file(d / "g0001.bmp", d / "g0000.bmp"); },
         testsupport::GlyphNames(32, 40), 41, 41, ""},
        {"removed", [](const fs::path& d) { fs::remove(d / "g0001.bmp"); },
         testsupport::GlyphNames(34, 40), 39, 39, ""},
        {"renamed", [](const fs::path& d) { fs::rename(d / "g0035.bmp", d / "z.bmp"); },
         Join(Join(testsupport::GlyphNames(33, 34), testsupport::GlyphNames(36, 40)), {"z.bmp"}),
         40, 40, ""},
        {"renamed out of the pattern",
         [](const fs::path& d) { fs::rename(d / "g0001.bmp", d / "g0001.txt"); },
         testsupport::GlyphNames(34, 40), 39, 39, ""},
        {"replaced by a directory",
         [](const fs::path& d) {
             fs::remove(d / "g0034.bmp");
             fs::create_directory(d / "g0034.bmp");
         },
         {},
         0,
         34,
         "Cannot open file \"C:\\replaced by a directory\\g0034.bmp\"."},
        {"directory replaced",
         [](const fs::path& d) {
             fs::rename(d, d.string() + ".old");
             fs::rename(d.string() + " new", d); // 35 glyphs of the same names
         },
         testsupport::GlyphNames(33, 35), 35, 35, ""},
    };
    for (const Case& c : cases) {
        WriteGlyphs(c.what, 40);
        WriteGlyphs(std::string(c.what) + " new", 35);
    }
    testsupport::LetDirectoriesSettle();

    auto& w = Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.LoadDirectory(std::string("C:\\") + c.what);
        ASSERT_EQ(ShownHints(), testsupport::GlyphNames(1, 32));
        c.change(drives_.Host(c.what));

        testsupport::ModalAnswer answer;
        if (!c.failure.empty())
            answer.Press("OK");
        StepCounter counter(w.ProgressBar1);
        w.SpeedButtonNext->Click();

        EXPECT_EQ(counter.Steps(), c.steps);   // one step per entry passed
        EXPECT_EQ(w.Pages().GlyphCount(), 40); // counted again only on loading
        EXPECT_EQ(w.LabelAnzahl->Caption(), "40 Glyph(s)");
        if (c.failure.empty()) {
            EXPECT_TRUE(answer.Seen().empty());
            EXPECT_EQ(ShownHints(), c.shown);
            EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()),
                      std::pair(33, c.lastShown));
        } else {
            ASSERT_EQ(answer.Seen().size(), 1u);
            EXPECT_EQ(answer.Seen()[0].text, c.failure);
            EXPECT_EQ(Glyph(1)->Hint(), "g0033.bmp"); // filled before the bad entry
            EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(1, 32));
        }
    }
}

TEST_F(MainWindowTest, ChangesWithinOneSecondOfEachOtherAreAllSeen) {
    WriteGlyphs("glyphs", 40);
    testsupport::LetDirectoriesSettle();
    auto& w = Open();
    w.LoadDirectory("C:\\glyphs");
    const fs::path dir = drives_.Host("glyphs");

    fs::copy_file(dir / "g0001.bmp", dir / "g0000.bmp");
    w.SpeedButtonNext->Click();
    EXPECT_EQ(ShownHints(), testsupport::GlyphNames(32, 40));

    // Within the same second as the change before, and right after the
    // directory was read.
    fs::rename(dir / "g0040.bmp", dir / "a.bmp");
    w.SpeedButtonPrevious->Click();
    EXPECT_EQ(ShownHints(), Join({"a.bmp"}, testsupport::GlyphNames(0, 30)));
    fs::remove(dir / "g0005.bmp");
    w.SpeedButtonLast->Click(); // from entry 33, as 40 were counted at loading
    EXPECT_EQ(ShownHints(), testsupport::GlyphNames(32, 39));
    EXPECT_EQ(std::pair(w.Pages().FirstShown(), w.Pages().LastShown()), std::pair(33, 40));
}

TEST_F(MainWindowTest, ADirectoryShownBeforeIsReadAgainWhenLoaded) {
    WriteGlyphs("one", 3);
    WriteGlyphs("two", 2);
    testsupport::LetDirectoriesSettle();
    auto& w = Open();
    w.LoadDirectory("C:\\one");
    w.LoadDirectory("C:\\two");
    EXPECT_EQ(ShownHints(), testsupport::GlyphNames(1, 2));
    fs::remove(drives_.Host("one/g0002.bmp"));
    w.LoadDirectory("C:\\one");
    EXPECT_EQ(ShownHints(), (std::vector<std::string>{"g0001.bmp", "g0003.bmp"}));
    EXPECT_EQ(w.LabelAnzahl->Caption(), "2 Glyph(s)");
}

} // namespace
