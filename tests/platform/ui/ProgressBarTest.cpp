// The progress controls: 16-bit range and stepping of the bar, the gauge's
// percentage, and what each paints.
#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>
#include <vector>

#include "platform/ui/Gauge.h"
#include "platform/ui/ProgressBar.h"

namespace {

// How many pixels of one row, between two columns, wear the highlight colour.
int HighlightedPixels(const QImage& image, int row, int from, int to, QColor highlight) {
    int count = 0;
    for (int x = from; x < to; ++x)
        count += image.pixelColor(x, row) == highlight;
    return count;
}

// A bar that notes the position each paint shows.
class WatchedBar : public TProgressBar {
public:
    std::vector<int> painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        painted.push_back(Position());
        TProgressBar::paintEvent(event);
    }
};

} // namespace

TEST(ProgressBar, HoldsThePositionInsideItsRange) {
    TProgressBar bar;
    bar.SetRange(0, 100);
    std::vector<int> shown;
    QObject::connect(&bar, &TProgressBar::positionChanged, [&](int v) { shown.push_back(v); });
    bar.SetPosition(40);
    bar.SetPosition(40); // unchanged: nothing to tell
    bar.SetPosition(250);
    bar.SetPosition(-3);
    EXPECT_EQ(shown, (std::vector<int>{40, 100, 0}));
    bar.SetPosition(80);
    bar.SetMax(50); // a narrower range pulls the position in
    EXPECT_EQ(bar.Position(), 50);
}

TEST(ProgressBar, StepItStartsAgainPastTheMaximum) {
    TProgressBar bar;
    bar.SetRange(0, 100);
    bar.SetStep(10);
    std::vector<int> shown;
    QObject::connect(&bar, &TProgressBar::positionChanged, [&](int v) { shown.push_back(v); });
    for (int i = 0; i < 12; ++i)
        bar.StepIt();
    EXPECT_EQ(shown, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 10, 20}));

    bar.SetRange(-30000, 30000); // wide 16-bit ranges step without overflow
    bar.SetStep(25000);
    bar.SetPosition(20000);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), -30000 + (45000 + 30000) % 60000);
}

TEST(ProgressBar, PaintsBlocksUpToThePosition) {
    TProgressBar bar;
    bar.resize(204, 16);
    bar.SetRange(0, 100);
    const QColor highlight = bar.palette().color(QPalette::Highlight);
    const int row = 8;

    bar.SetPosition(0);
    QImage image = bar.grab().toImage();
    EXPECT_EQ(HighlightedPixels(image, row, 0, 204, highlight), 0);

    bar.SetPosition(50);
    image = bar.grab().toImage();
    EXPECT_GT(HighlightedPixels(image, row, 2, 50, highlight), 30);
    EXPECT_EQ(HighlightedPixels(image, row, 104, 204, highlight), 0);
    EXPECT_NE(image.pixelColor(1, 0), highlight); // the sunken frame stays
    EXPECT_NE(image.pixelColor(203, 15), highlight);

    bar.SetPosition(100);
    image = bar.grab().toImage();
    EXPECT_GT(HighlightedPixels(image, row, 150, 202, highlight), 30);
}

TEST(ProgressBar, ThePositionReachedIsPaintedOnceTheEventLoopRuns) {
    WatchedBar bar;
    bar.resize(204, 16);
    bar.show();
    QApplication::processEvents();
    // Far more steps than a screen could show while a command runs on.
    for (int i = 0; i < 1234; ++i)
        bar.StepIt();
    QApplication::processEvents();
    ASSERT_FALSE(bar.painted.empty());
    EXPECT_EQ(bar.painted.back(), bar.Position());
}

TEST(Gauge, PercentDoneAndItsBar) {
    TGauge gauge;
    gauge.SetMinValue(-1000);
    gauge.SetMaxValue(3000);
    gauge.SetProgress(0);
    EXPECT_EQ(gauge.PercentDone(), 25);
    gauge.SetProgress(5000); // kept as given, drawn full
    EXPECT_EQ(gauge.Progress(), 5000);
    EXPECT_EQ(gauge.PercentDone(), 100);
    gauge.SetMinValue(-2000000000);
    gauge.SetMaxValue(2000000000);
    gauge.SetProgress(1000000000);
    EXPECT_EQ(gauge.PercentDone(), 75);
    gauge.SetMaxValue(gauge.MinValue()); // an empty range shows nothing done
    EXPECT_EQ(gauge.PercentDone(), 0);

    gauge.SetMinValue(0);
    gauge.SetMaxValue(100);
    gauge.SetProgress(50);
    gauge.resize(204, 20);
    const QImage image = gauge.grab().toImage();
    const QColor highlight = gauge.palette().color(QPalette::Highlight);
    EXPECT_EQ(image.pixelColor(10, 4), highlight);
    EXPECT_NE(image.pixelColor(190, 4), highlight);
}
