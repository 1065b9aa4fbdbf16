// The path label: splitting, drive detection and the shortened caption at the
// exact widths where one form gives way to the next. Every expected width is
// taken from the label's own font metrics, so the boundaries are exact.
#include <QFont>
#include <gtest/gtest.h>
#include <memory>

#include "controls/FiLabel.h"
#include "platform/Codepage.h"

namespace {

using Parts = std::vector<std::string>;

// Counts measurements, to tell a recomputed caption from one left alone.
class CountingFileLabel : public TFileLabel {
public:
    using TFileLabel::TFileLabel;
    mutable int measured = 0;

protected:
    int TextWidth(const std::string& text) const override {
        ++measured;
        return TFileLabel::TextWidth(text);
    }
};

class FileLabelTest : public testing::Test {
protected:
    void SetUp() override {
        host_.resize(800, 100);
        label_ = new CountingFileLabel(&host_);
        QFont font("Liberation Sans");
        font.setPixelSize(13);
        label_->setFont(font);
        label_->setGeometry(10, 10, 336, 17);
        // A shown label gets its resize events at once, as on a real window.
        host_.show();
    }

    int Width(const std::string& text) const {
        return label_->fontMetrics().horizontalAdvance(platform::ToQt(text));
    }
    void SetWidth(int w) { label_->resize(w, 17); }

    QWidget host_;
    CountingFileLabel* label_ = nullptr;
};

const std::string kPath = "C:\\Work\\Icons\\Tool\\Small\\Glyphs";

TEST(SplitStringTest, AppendsEveryPieceBetweenSeparators) {
    struct Case {
        std::string text, separator;
        Parts expected;
    };
    const Case cases[] = {
        {"C:\\Work\\Icons", "\\", {"C:", "Work", "Icons"}},
        {"C:\\", "\\", {"C:", ""}},
        {"", "\\", {""}},
        {"a\\\\b", "\\", {"a", "", "b"}},
        {"\\\\server\\share", "\\", {"", "", "server", "share"}},
        {"plain", "\\", {"plain"}},
        {"a::b::c", "::", {"a", "b", "c"}},
        {"a:b::", "::", {"a:b", ""}},
        {"a:::b", "::", {"a", ":b"}},
        {"a\\b", "", {"a\\b"}},
    };
    for (const Case& c : cases) {
        Parts list{"kept"};
        SplitString(c.text, c.separator, list);
        Parts expected{"kept"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(list, expected) << "text \"" << c.text << "\" separator \"" << c.separator
                                  << "\"";
    }
}

TEST_F(FileLabelTest, FirstPartIsADriveOnlyWhenItHasTwoCharactersEndingInAColon) {
    const std::pair<std::string, bool> cases[] = {
        {"C:\\Work", true},  {"C:", true},         {"Volume:\\x", true}, {"C\\Work", false},
        {"AB\\Work", false}, {"\\\\C:\\x", false}, {":\\x", false},      {"", false},
    };
    for (const auto& [name, drive] : cases) {
        label_->SetFileName(name);
        EXPECT_EQ(label_->HasDrive(), drive) << name;
    }
}

TEST_F(FileLabelTest, KeepsTwoMiddlePartsOnTheSideItsDirectionSays) {
    label_->SetFileName(kPath);
    const int fixed = Width("C:\\") + Width("...\\") + Width("Glyphs");

    // The two middle parts exactly fill the label: they are still taken.
    SetWidth(fixed + Width("Tool\\Small\\"));
    EXPECT_EQ(label_->Caption(), "C:\\...\\Tool\\Small\\Glyphs");
    label_->SetDirection(drFromRight);
    SetWidth(fixed + Width("Work\\Icons\\"));
    EXPECT_EQ(label_->Caption(), "C:\\Work\\Icons\\...\\Glyphs");

    // One pixel less and only one of them fits.
    SetWidth(fixed + Width("Work\\Icons\\") - 1);
    EXPECT_EQ(label_->Caption(), "C:\\Work\\...\\Glyphs");
    label_->SetDirection(drFromLeft);
    SetWidth(fixed + Width("Tool\\Small\\") - 1);
    EXPECT_EQ(label_->Caption(), "C:\\...\\Small\\Glyphs");

    // The stored values never become the shortened caption.
    EXPECT_EQ(label_->FileName(), kPath);
    EXPECT_EQ(label_->Separator(), "\\");
}

TEST_F(FileLabelTest, StopsAtTheFirstMiddlePartThatDoesNotFit) {
    // "Tiny" would fit after "Enormous" fails, but the run has ended.
    label_->SetFileName("C:\\Tiny\\Enormousname\\Glyphs");
    const int fixed = Width("C:\\") + Width("...\\") + Width("Glyphs");
    SetWidth(fixed + Width("Tiny\\") + 1);
    ASSERT_LT(label_->width(), Width(label_->FileName()));
    EXPECT_EQ(label_->Caption(), "C:\\...\\Glyphs");
}

TEST_F(FileLabelTest, WholeNameShownWhenExactlyAsWideAsTheLabel) {
    // 0x80 and 0xE4 are the euro sign and a-umlaut in Windows-1252; measuring
    // the bytes any other way gives another width.
    const std::string name = "C:\\Gl\x80yph\\M\xE4rz\\Icons";
    label_->SetFileName(name);
    SetWidth(Width(name));
    EXPECT_EQ(label_->Caption(), name);
    SetWidth(Width(name) - 1);
    EXPECT_NE(label_->Caption(), name);
    // Enlarging it again brings the whole name back.
    SetWidth(Width(name) + 40);
    EXPECT_EQ(label_->Caption(), name);
}

TEST_F(FileLabelTest, ShortFormsAreUsedOnlyWhenStrictlyNarrowerThanTheLabel) {
    label_->SetFileName(kPath);
    const int lastAndEllipsis = Width("...\\") + Width("Glyphs");

    // "...\Glyphs" exactly as wide as the label: the last part alone.
    SetWidth(lastAndEllipsis);
    EXPECT_EQ(label_->Caption(), "Glyphs");
    // One pixel more: the drive does not fit beside it, so it is dropped.
    SetWidth(lastAndEllipsis + 1);
    EXPECT_EQ(label_->Caption(), "...\\Glyphs");
    // Drive, ellipsis and last part exactly as wide: still without the drive.
    SetWidth(lastAndEllipsis + Width("C:\\"));
    EXPECT_EQ(label_->Caption(), "...\\Glyphs");
    // One pixel more: the drive is back, no middle part fits yet.
    SetWidth(lastAndEllipsis + Width("C:\\") + 1);
    EXPECT_EQ(label_->Caption(), "C:\\...\\Glyphs");
}

TEST_F(FileLabelTest, NameWithoutSeparatorIsShownWholeEvenWhenTooWide) {
    const std::string name = "AVeryLongFileNameWithoutAnySeparatorInIt.bmp";
    label_->SetFileName(name);
    SetWidth(Width(name) / 2);
    EXPECT_EQ(label_->Caption(), name);
    EXPECT_FALSE(label_->HasDrive());
}

TEST_F(FileLabelTest, TrailingSeparatorLeavesAnEmptyLastPart) {
    const std::string name = "C:\\Work\\Icons\\";
    label_->SetFileName(name);
    EXPECT_EQ(label_->PathParts(), (Parts{"C:", "Work", "Icons", ""}));
    const int fixed = Width("C:\\") + Width("...\\") + Width("");

    SetWidth(fixed + Width("Icons\\"));
    ASSERT_LT(label_->width(), Width(name));
    EXPECT_EQ(label_->Caption(), "C:\\...\\Icons\\");

    label_->SetDirection(drFromRight);
    SetWidth(fixed + Width("Work\\"));
    ASSERT_LT(label_->width(), Width(name));
    EXPECT_EQ(label_->Caption(), "C:\\Work\\...\\");
}

TEST_F(FileLabelTest, TwoCharacterSeparatorSplitsAndRejoinsWithItself) {
    label_->SetSeparator("::");
    label_->SetFileName("alpha::beta::gamma::delta");
    EXPECT_EQ(label_->PathParts(), (Parts{"alpha", "beta", "gamma", "delta"}));
    const int fixed = Width("...::") + Width("delta");

    SetWidth(fixed + Width("gamma::"));
    EXPECT_EQ(label_->Caption(), "...::gamma::delta");
    label_->SetDirection(drFromRight);
    SetWidth(fixed + Width("alpha::"));
    EXPECT_EQ(label_->Caption(), "alpha::...::delta");

    // Changing the separator splits the same name again.
    label_->SetSeparator("\\");
    EXPECT_EQ(label_->PathParts(), (Parts{"alpha::beta::gamma::delta"}));
    EXPECT_EQ(label_->Caption(), "alpha::beta::gamma::delta");
}

TEST_F(FileLabelTest, SettingAValueItAlreadyHasRecomputesNothing) {
    SetWidth(Width(kPath) / 2);
    label_->SetFileName(kPath);
    const std::string shortened = label_->Caption();
    ASSERT_NE(shortened, kPath);

    label_->measured = 0;
    label_->SetFileName(std::string(kPath));
    label_->SetSeparator("\\");
    label_->SetDirection(drFromLeft);
    EXPECT_EQ(label_->measured, 0);
    EXPECT_EQ(label_->Caption(), shortened);

    // A name differing only in case is another name.
    label_->SetFileName("c:\\work\\icons\\tool\\small\\glyphs");
    EXPECT_GT(label_->measured, 0);
    EXPECT_EQ(label_->FileName(), "c:\\work\\icons\\tool\\small\\glyphs");
}

TEST_F(FileLabelTest, MoveResizeAndFontChangeRecomputeTheCaption) {
    label_->SetFileName(kPath);
    SetWidth(Width(kPath));
    ASSERT_EQ(label_->Caption(), kPath);

    label_->measured = 0;
    label_->move(20, 30);
    EXPECT_GT(label_->measured, 0);
    EXPECT_EQ(label_->Caption(), kPath);

    // A larger font makes the same name too wide for the same label.
    QFont larger = label_->font();
    larger.setPixelSize(20);
    label_->setFont(larger);
    EXPECT_LT(label_->width(), Width(kPath));
    EXPECT_EQ(label_->Caption().substr(0, 7), "C:\\...\\");

    SetWidth(Width(kPath));
    EXPECT_EQ(label_->Caption(), kPath);
}

TEST_F(FileLabelTest, EmptyNameGivesAnEmptyCaptionAndMeasuresNothing) {
    label_->SetFileName(kPath);
    label_->SetFileName("");
    label_->measured = 0;
    for (int w : {0, 1, 17, 336}) {
        SetWidth(w);
        EXPECT_EQ(label_->Caption(), "") << w;
    }
    label_->SetDirection(drFromRight);
    EXPECT_EQ(label_->measured, 0);
}

TEST(FileLabelDefaultsTest, StartsEmptyFromTheLeftWithABackslash) {
    TFileLabel label;
    EXPECT_EQ(label.FileName(), "");
    EXPECT_EQ(label.Separator(), "\\");
    EXPECT_EQ(label.Direction(), drFromLeft);
    EXPECT_EQ(label.Caption(), "");
    EXPECT_TRUE(label.PathParts().empty());
}

} // namespace
