// The fan-curve editor driven by real mouse events on the offscreen platform.
#include "fan/static_fan_ctl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <algorithm>
#include <cstdlib>

#include "skin/skin_font.h"

namespace {

const fan::FanPoint kCurve[fan::kFanPointCount] = {{0, 0},   {30, 20}, {50, 40}, {50, 41},
                                                   {70, 70}, {80, 80}, {90, 90}, {100, 100}};

struct Editor : ::testing::Test {
    QWidget host;
    CStaticFanCtl* ctl = new CStaticFanCtl(&host);

    void SetUp() override {
        host.resize(440, 320);
        ctl->SetWindowPos(0, 0, 440, 320, SWP_NOZORDER | SWP_SHOWWINDOW);
        ctl->SetFanMap(kCurve);
        host.show();
        QApplication::processEvents();
    }
    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(ctl->mapToGlobal(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(ctl, &e);
    }
    void press(QPoint at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void move(QPoint at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    void release(QPoint at) { send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    void doubleClick(QPoint at) {
        press(at);
        release(at);
        send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        release(at);
    }
    void drag(int k, QPoint to) {
        const QPoint from = centre(k);
        press(from);
        move(to);
        release(to);
    }
    QPoint centre(int k) const { return QPoint(ctl->pointRect(k).left + 3, ctl->pointRect(k).bottom - 3); }
    fan::FanPoint value(int k) const {
        fan::FanPoint p[fan::kFanPointCount];
        ctl->GetFanMap(p);
        return p[k];
    }
    QRgb pixel(QPoint at) const { return ctl->surface().pixel(at) & 0xffffff; }
};

constexpr QRgb kSquare = 0x969696;
constexpr QRgb kCurveColour = 0xc8c8c8;

TEST_F(Editor, ValuesRoundTripAndTheExtremesSitOnTheGridEdges) {
    fan::FanPoint back[fan::kFanPointCount];
    ctl->GetFanMap(back);
    for (int k = 0; k < fan::kFanPointCount; ++k) {
        EXPECT_EQ(back[k].x, kCurve[k].x) << k;
        EXPECT_EQ(back[k].y, kCurve[k].y) << k;
    }
    const RECT g = ctl->gridRect();
    EXPECT_EQ(centre(0), QPoint(g.left, g.bottom));
    EXPECT_EQ(centre(7), QPoint(g.right, g.top));
    EXPECT_EQ(pixel(centre(2)), kSquare);
    EXPECT_EQ(pixel(QPoint(g.left + 1, g.top)), 0xc86400u) << "the 100 % line is an accent line";
}

TEST_F(Editor, OverlappingSquaresPickTheLowerPointWhichStopsAtItsNeighbour) {
    // Points 2 and 3 share 50 degrees: the press takes 2, which cannot pass 3 to the right.
    const QPoint shared = centre(3);
    press(shared);
    ASSERT_TRUE(ctl->tracking());
    move(shared + QPoint(40, -30));
    release(shared + QPoint(40, -30));
    EXPECT_EQ(value(2).x, 50);
    EXPECT_GT(value(2).y, 41) << "the speed still follows the pointer";
    EXPECT_EQ(value(3).x, 50);
    EXPECT_EQ(value(3).y, 41);
    EXPECT_EQ(ctl->labelText(), QStringLiteral("x:%1 y:%2").arg(value(2).x).arg(value(2).y));
    // Dragged left it does leave its neighbour.
    drag(2, centre(2) - QPoint(30, 0));
    EXPECT_LT(value(2).x, 50);
    EXPECT_GT(value(2).x, 30);
}

TEST_F(Editor, DragsPastTheGridSnapToItsEdges) {
    drag(0, QPoint(-50, 5));  // left of and above the grid
    EXPECT_EQ(value(0).x, 0);
    EXPECT_EQ(value(0).y, 100);
    drag(7, QPoint(1000, 1000));
    EXPECT_EQ(value(7).x, 100);
    EXPECT_EQ(value(7).y, 0);
    // A centre within 3 pixels of an edge lands on it.
    const RECT g = ctl->gridRect();
    drag(4, QPoint(centre(4).x(), g.bottom - 2));
    EXPECT_EQ(value(4).y, 0);
}

TEST_F(Editor, SmallMovesUpdateThePointButRepaintOnlyOnceTheyAddUp) {
    const int thr = (ctl->gridRect().right - ctl->gridRect().left) / 100;
    ASSERT_GE(thr, 2);
    const QPoint from = centre(4);
    press(from);
    QApplication::processEvents();
    const int painted = ctl->PaintCount();
    move(from + QPoint(0, -(thr - 1)));
    QApplication::processEvents();
    EXPECT_EQ(centre(4), from + QPoint(0, -(thr - 1))) << "the point follows";
    EXPECT_EQ(ctl->PaintCount(), painted) << "but nothing is redrawn";
    EXPECT_EQ(pixel(from), kSquare) << "the square is still drawn where it was";

    const QPoint to = from + QPoint(0, -20);
    move(to);
    move(to + QPoint(0, -1));  // several moves before the event loop runs end in one paint
    QApplication::processEvents();
    EXPECT_EQ(ctl->PaintCount(), painted + 1);
    EXPECT_EQ(pixel(to), kSquare);
    EXPECT_NE(pixel(from), kSquare) << "the old square is erased";
    release(to);
}

TEST_F(Editor, DoubleClickSwitchesTheFormAndTwoRestoreIt) {
    const QPoint empty(centre(1).x() + 20, centre(1).y() + 20);
    QPoint before[fan::kFanPointCount];
    for (int k = 0; k < fan::kFanPointCount; ++k) before[k] = centre(k);
    // Between points 1 and 2 the steps hold point 1's speed at its height.
    const int midX = (centre(1).x() + centre(2).x()) / 2;
    EXPECT_NE(pixel(QPoint(midX, centre(1).y())), kCurveColour);
    doubleClick(empty);
    EXPECT_TRUE(ctl->Stepped());
    EXPECT_EQ(pixel(QPoint(midX, centre(1).y())), kCurveColour);
    doubleClick(empty);
    EXPECT_FALSE(ctl->Stepped());
    EXPECT_NE(pixel(QPoint(midX, centre(1).y())), kCurveColour);
    for (int k = 0; k < fan::kFanPointCount; ++k) EXPECT_EQ(centre(k), before[k]) << k;
}

TEST_F(Editor, SteppedDragMovesTheStepsWithThePoint) {
    doubleClick(QPoint(5, 5));
    ASSERT_TRUE(ctl->Stepped());
    const QPoint to = centre(1) + QPoint(0, -40);
    drag(1, to);
    QApplication::processEvents();
    const int midX = (centre(1).x() + centre(2).x()) / 2;
    EXPECT_EQ(pixel(QPoint(midX, to.y())), kCurveColour) << "the step right of the point follows it";
}

bool yellow(QRgb c) {
    return qRed(c) > 150 && qGreen(c) > 150 && qBlue(c) < 100;
}

TEST_F(Editor, TheLabelsAreNeitherWrappedNorCutAtTheControlsEdges) {
    // The last point at the right edge: its label, one line, moves in rather than past the edge.
    drag(7, QPoint(1000, centre(7).y()));
    QApplication::processEvents();
    const RECT label = ctl->labelRect();
    const int client = ctl->GetClientRect().right;
    EXPECT_LE(label.right, client);
    EXPECT_GE(RectWidth(label), QFontMetrics(skin::skinFont(7)).horizontalAdvance(ctl->labelText()));
    int lastYellowRow = -1;
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x)
            if (yellow(ctl->surface().pixel(x, y))) lastYellowRow = y;
    EXPECT_GE(lastYellowRow, 0) << "no label drawn";
    EXPECT_LT(lastYellowRow, label.top + QFontMetrics(skin::skinFont(7)).height()) << "wrapped";

    // Another point's press leaves nothing of that label behind.
    press(centre(2));
    release(centre(2));
    QApplication::processEvents();
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x)
            ASSERT_FALSE(yellow(ctl->surface().pixel(x, y))) << x << "," << y;

    // "100" at the top of the speed axis stays clear of the left edge.
    const RECT g = ctl->gridRect();
    for (int y = g.top - 5; y < g.top + 5; ++y) EXPECT_EQ(pixel(QPoint(0, y)), 0u) << y;
}

TEST_F(Editor, EveryGridLineStandsWhereItsValueIsDrawn) {
    // A grid 395 by 250 pixels: tenths of it are not whole pixels.
    const RECT g = ctl->gridRect();
    ASSERT_NE(RectWidth(g) % 10, 0);
    const auto isLine = [](QRgb p) { return p == 0x960000u || p == 0xc86400u; };
    // The stored 100 degrees and 30 degrees of the curve lie on their lines.
    EXPECT_TRUE(isLine(pixel(QPoint(centre(7).x(), g.bottom - 5))));
    EXPECT_TRUE(isLine(pixel(QPoint(centre(1).x(), g.bottom - 5))));
    for (int k = 0; k <= 10; ++k) {
        // Where a point of 10k degrees and one of 10k percent would be drawn.
        fan::FanPoint at[fan::kFanPointCount];
        std::fill(std::begin(at), std::end(at), fan::FanPoint{10 * k, 10 * k});
        CStaticFanCtl probe;
        probe.SetWindowPos(0, 0, 440, 320, SWP_NOZORDER);
        probe.SetFanMap(at);
        const int x = probe.pointRect(0).left + 3, y = probe.pointRect(0).bottom - 3;
        EXPECT_TRUE(isLine(pixel(QPoint(x, g.bottom - 5)))) << k * 10 << " degrees at " << x;
        // The curve leaves the 0 % corner at the grid's left edge.
        if (k > 0) {
            EXPECT_TRUE(isLine(pixel(QPoint(g.left + 1, y)))) << k * 10 << " percent at " << y;
        }
    }
}

TEST(EditorAlone, ATinyWindowReadsZeroInsteadOfDividingByZero) {
    QWidget host;
    auto* ctl = new CStaticFanCtl(&host);
    ctl->SetWindowPos(0, 0, 40, 60, SWP_NOZORDER | SWP_SHOWWINDOW);
    ctl->SetFanMap(kCurve);
    fan::FanPoint back[fan::kFanPointCount];
    ctl->GetFanMap(back);
    for (const auto& p : back) EXPECT_TRUE(p.x >= -100 && p.x <= 100 && p.y >= -100 && p.y <= 100);
}

}  // namespace
