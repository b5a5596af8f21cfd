// The rectangles a paint composes cover what changed, never a pixel twice, and
// keep a place whole where its neighbours would only cut it up.
#include "skin/paint_rects.h"

#include <gtest/gtest.h>

#include <QRegion>
#include <random>

namespace {

QRegion regionOf(const std::vector<QRect>& rects) {
    QRegion region;
    for (const QRect& r : rects) region += r;
    return region;
}

TEST(PaintRects, TheEyeBesideAGaugeStaysOneRectangleAndAMovedLabelJoinsItsOldPlace) {
    const QRect window(0, 0, 480, 360);
    const QRect eye(149, 132, 174, 148);
    const QRect labelBefore(414, 200, 12, 10), labelAfter(414, 203, 12, 10);
    const std::vector<QRect> rects = skin::paintRects({eye, labelBefore, labelAfter, eye}, window);
    ASSERT_EQ(rects.size(), 2u) << "a region would cut the eye at the label's rows";
    EXPECT_EQ(rects[0], eye);
    EXPECT_EQ(rects[1], labelBefore | labelAfter);
}

TEST(PaintRects, CrossingBarsAreCutApartRatherThanJoinedIntoTheirBoundingRectangle) {
    const std::vector<QRect> places{QRect(0, 50, 400, 10), QRect(200, 0, 10, 300)};
    const std::vector<QRect> rects = skin::paintRects(places, QRect(0, 0, 480, 360));
    EXPECT_EQ(regionOf(rects), regionOf(places));
    qint64 pixels = 0;
    for (const QRect& r : rects) pixels += qint64(r.width()) * r.height();
    EXPECT_EQ(pixels, 400 * 10 + 10 * 300 - 10 * 10);
}

TEST(PaintRects, RandomPlacesAreCoveredClippedAndNeverComposedTwice) {
    std::mt19937 random(7);
    const QRect window(0, 0, 300, 200);
    for (int round = 0; round < 500; ++round) {
        std::vector<QRect> places;
        const int count = int(random() % 80);  // past the most that are taken apart, now and then
        for (int i = 0; i < count; ++i)
            places.emplace_back(int(random() % 340) - 20, int(random() % 240) - 20, int(random() % 90),
                                int(random() % 90));
        const std::vector<QRect> rects = skin::paintRects(places, window);
        const QRegion got = regionOf(rects);
        ASSERT_TRUE(((regionOf(places) & window) - got).isEmpty()) << "round " << round;
        ASSERT_TRUE(got.isEmpty() || window.contains(got.boundingRect())) << "round " << round;
        for (size_t i = 0; i < rects.size(); ++i) {
            ASSERT_FALSE(rects[i].isEmpty());
            for (size_t j = i + 1; j < rects.size(); ++j)
                ASSERT_FALSE(rects[i].intersects(rects[j])) << "round " << round;
        }
    }
}

}  // namespace
