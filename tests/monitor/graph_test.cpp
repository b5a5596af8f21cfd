// The graph control on the offscreen platform: its history, range and labels,
// and what it leaves in the composed picture.
#include <gtest/gtest.h>

#include <QImage>

#include "../skin/skin_window.h"
#include "monitor/waveform_display.h"

namespace {

// A 30-pixel-wide plot, so the history holds 28 samples.
constexpr RECT kPlot{40, 30, 70, 120};
constexpr QRgb kCursorGrey = 0xFFBCBCBC;

class GraphTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_graph.Create(&m_window, 3001, kPlot);
        m_graph.SetRange(0, 100);
    }
    const QImage& compose() { return m_window.Compose(); }
    // Opaque grey pixels of the cursor colour in column x, rows [top, bottom).
    int greyPixels(int x, int top, int bottom) {
        const QImage& image = compose();
        int count = 0;
        for (int y = top; y < bottom; ++y) count += image.pixel(x, y) == kCursorGrey;
        return count;
    }

    SkinTestWindow m_window;
    CWaveformDisplay m_graph;
};

TEST_F(GraphTest, HistoryStopsAtTheWidthLessTwoAndDropsTheOldestWithItsTime) {
    for (int i = 0; i < 40; ++i) m_graph.AddSample(i, QStringLiteral("t%1").arg(i));
    ASSERT_EQ(m_graph.Values().size(), 28u);
    ASSERT_EQ(m_graph.Times().size(), 28);
    EXPECT_EQ(m_graph.Values().front(), 12);
    EXPECT_EQ(m_graph.Times().front(), QStringLiteral("t12"));
    EXPECT_EQ(m_graph.Values().back(), 39);
    EXPECT_EQ(m_graph.Times().back(), QStringLiteral("t39"));
    EXPECT_EQ(m_graph.Phase(), 40 % 18);
    EXPECT_EQ(m_graph.CurrentLabel().Text(), QStringLiteral("39"));
}

TEST_F(GraphTest, OutOfRangeSamplesAreStoredAsTheBoundAndDrawnAtTheEdge) {
    m_graph.AddSample(150, QStringLiteral("a"));
    m_graph.AddSample(-20, QStringLiteral("b"));
    EXPECT_EQ(m_graph.Values(), (std::vector<int>{100, 0}));
    EXPECT_EQ(m_graph.HighestLabel().Text(), QStringLiteral("Max:100"));
    EXPECT_EQ(m_graph.LowestLabel().Text(), QStringLiteral("Min:0"));
    EXPECT_EQ(m_graph.CurrentLabel().Text(), QStringLiteral("0"));
    // The older sample, at the top edge, is one column left of the newest; the
    // outline reaches the top row there and nowhere above it.
    const QImage& image = compose();
    EXPECT_EQ(image.pixel(kPlot.right - 2, kPlot.top), kCursorGrey);
    EXPECT_EQ(qAlpha(image.pixel(kPlot.right - 2, kPlot.top - 1)), 0);
    EXPECT_EQ(image.pixel(kPlot.right - 1, kPlot.bottom), kCursorGrey);
}

TEST_F(GraphTest, ANewHistoryStartsBothExtremesAgainWithItsFirstSample) {
    m_graph.SetRange(0, 2000);
    for (int v : {300, 1225, 200}) m_graph.AddSample(v, {});
    EXPECT_EQ(m_graph.Lowest(), 200);  // the first sample set it, the third lowered it
    EXPECT_EQ(m_graph.HighestLabel().Text(), QStringLiteral("Max:1225"));
    // Another quantity (a usage in percent after a tachometer): nothing of the old one is left.
    m_graph.ClearSamples();
    EXPECT_TRUE(m_graph.Values().empty());
    EXPECT_TRUE(m_graph.Times().isEmpty());
    EXPECT_EQ(m_graph.HighestLabel().Text(), QStringLiteral("Max:0"));
    const int phase = m_graph.Phase();
    m_graph.AddSample(40, {});
    EXPECT_EQ(m_graph.LowestLabel().Text(), QStringLiteral("Min:40"));
    EXPECT_EQ(m_graph.Highest(), 40);
    EXPECT_EQ(m_graph.HighestLabel().Text(), QStringLiteral("Max:40"));
    EXPECT_EQ(m_graph.Phase(), phase + 1);
    m_graph.AddSample(35, {});
    m_graph.AddSample(60, {});
    EXPECT_EQ(m_graph.LowestLabel().Text(), QStringLiteral("Min:35"));
    EXPECT_EQ(m_graph.HighestLabel().Text(), QStringLiteral("Max:60"));
    // A quantity whose values lie below zero gets its true highest, not the 0 of an empty history.
    m_graph.SetRange(-50, -10);
    m_graph.ClearSamples();
    m_graph.AddSample(-30, {});
    EXPECT_EQ(m_graph.HighestLabel().Text(), QStringLiteral("Max:-30"));
}

TEST_F(GraphTest, TheCursorTextsStayInsideThePlotOnTheSideAwayFromTheEdge) {
    CWaveformDisplay wide;
    constexpr RECT plot{30, 60, 250, 160};
    wide.Create(&m_window, 3002, plot);
    wide.SetRange(0, 100);
    for (int i = 0; i < wide.Capacity(); ++i) wide.AddSample(0, QStringLiteral("12:34:56"));
    const QImage still = compose().copy();
    wide.SetHover(true);
    // What the cursor adds in the texts' rows (the outline of samples at 0 runs on the bottom row).
    const auto greyIn = [&](int left, int right) {
        const QImage& image = compose();
        int count = 0;
        for (int y = plot.bottom - 20; y < plot.bottom; ++y)
            for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x)
                count += image.pixel(x, y) != still.pixel(x, y);
        return count;
    };
    const int rows = 20;
    for (const int x : {int(plot.right) - 1, int(plot.left) + 2}) {
        wide.OnMouseMove(0, x, 100);
        EXPECT_EQ(greyIn(0, plot.left), 0) << "cursor at " << x;
        EXPECT_EQ(greyIn(plot.right + 1, m_window.width()), 0) << "cursor at " << x;
        EXPECT_GT(greyIn(plot.left, plot.right), rows + 20) << "the line and some text at " << x;
    }
    // Near the right edge the texts stand left of the line, near the left edge right of it.
    wide.OnMouseMove(0, plot.right - 1, 100);
    EXPECT_EQ(greyIn(plot.right, plot.right + 1), 0);
    EXPECT_GT(greyIn(plot.left, plot.right - 2), 20);
    wide.OnMouseMove(0, plot.left + 2, 100);
    EXPECT_GT(greyIn(plot.left + 4, plot.right), 20);
    EXPECT_EQ(greyIn(plot.left, plot.left + 2), 0);
}

TEST_F(GraphTest, CursorShowsOnlyOverAColumnThatHasASample) {
    // Samples at the minimum keep the outline on the bottom row, out of the way.
    for (int i = 0; i < 5; ++i) m_graph.AddSample(0, QStringLiteral("12:0:%1").arg(i));
    const int top = kPlot.top, textTop = kPlot.bottom - 20;
    m_graph.SetHover(true);
    m_graph.OnMouseMove(0, kPlot.right - 6, 60);  // one column left of the oldest
    EXPECT_EQ(greyPixels(kPlot.right - 6, top, textTop), 0);
    m_graph.OnMouseMove(0, kPlot.right - 5, 60);  // the oldest
    EXPECT_GT(greyPixels(kPlot.right - 5, top, textTop), 10);
    m_graph.SetHover(false);
    EXPECT_EQ(greyPixels(kPlot.right - 5, top, textTop), 0);
}

TEST_F(GraphTest, SetRangeNeitherClearsNorRescalesTheStoredSamples) {
    m_graph.AddSample(50, QStringLiteral("x"));
    m_graph.AddSample(50, QStringLiteral("y"));
    EXPECT_NE(qAlpha(compose().pixel(kPlot.right - 2, 96)), 0);
    m_graph.SetRange(0, 200);
    EXPECT_EQ(m_graph.Values(), (std::vector<int>{50, 50}));
    EXPECT_EQ(m_graph.MaxLabel().Text(), QStringLiteral("200"));
    EXPECT_EQ(m_graph.MinLabel().Text(), QStringLiteral("0"));
    EXPECT_TRUE(m_graph.CurrentLabel().Text().isEmpty());
    // 50 of 200 is a quarter of the height up from the bottom, at 97.5.
    EXPECT_EQ(qAlpha(compose().pixel(kPlot.right - 2, 96)), 0);
    EXPECT_NE(qAlpha(compose().pixel(kPlot.right - 2, 99)), 0);
}

TEST_F(GraphTest, AnEmptyRangeDrawsAtTheMinimumAndAnInvertedOneStaysInside) {
    m_graph.SetRange(40, 40);
    m_graph.AddSample(70, {});
    m_graph.AddSample(10, {});
    EXPECT_EQ(m_graph.Values(), (std::vector<int>{40, 40}));
    EXPECT_EQ(compose().pixel(kPlot.right - 1, kPlot.bottom), kCursorGrey);
    // The widest range there is: no overflow on the way to a height.
    m_graph.SetRange(INT32_MIN, INT32_MAX);
    m_graph.AddSample(INT32_MAX, {});
    EXPECT_EQ(compose().pixel(kPlot.right - 1, kPlot.top), kCursorGrey);
}

TEST_F(GraphTest, WithoutSamplesOnlyTheGridIsDrawn) {
    const QImage& image = compose();
    for (int y = kPlot.top; y <= kPlot.bottom; ++y)
        for (int x = kPlot.left; x <= kPlot.right; ++x) {
            const QRgb p = image.pixel(x, y);
            ASSERT_TRUE(qAlpha(p) == 0 || (qGreen(p) == 0 && qBlue(p) == 0)) << x << "," << y;
        }
    // Lines every 9 rows from the top and every 18 columns from the left.
    EXPECT_NE(qAlpha(image.pixel(kPlot.left + 5, kPlot.top + 9)), 0);
    EXPECT_NE(qAlpha(image.pixel(kPlot.left + 18, kPlot.top + 4)), 0);
    EXPECT_EQ(qAlpha(image.pixel(kPlot.left + 5, kPlot.top + 4)), 0);
}

}  // namespace
