#include "skin/paint_rects.h"

#include <QRegion>

namespace skin {
namespace {

// More places than this are a large change: its region is as good.
constexpr size_t kMostPlaces = 64;

qint64 area(const QRect& r) {
    return qint64(r.width()) * r.height();
}

// Takes apart one overlapping pair: joined where the bounding rectangle adds at
// most a quarter to the two, else the first less the second, and the second.
// False when no pair overlaps.
bool separateOnePair(std::vector<QRect>& rects) {
    for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j) {
            if (!rects[i].intersects(rects[j])) continue;
            const QRect joined = rects[i] | rects[j];
            if (area(joined) * 4 <= (area(rects[i]) + area(rects[j])) * 5) {
                rects[i] = joined;
                rects.erase(rects.begin() + qsizetype(j));
                return true;
            }
            const QRegion rest = QRegion(rects[i]).subtracted(rects[j]);
            rects.erase(rects.begin() + qsizetype(i));
            rects.insert(rects.end(), rest.begin(), rest.end());
            return true;
        }
    return false;
}

}  // namespace

std::vector<QRect> paintRects(const std::vector<QRect>& places, const QRect& bounds) {
    std::vector<QRect> rects;
    rects.reserve(places.size());
    for (const QRect& place : places)
        if (const QRect inside = place & bounds; !inside.isEmpty()) rects.push_back(inside);
    // Each step removes an overlap; the bound only guards against a pathological mix.
    for (size_t steps = 0; rects.size() <= kMostPlaces && steps < 4 * kMostPlaces; ++steps)
        if (!separateOnePair(rects)) return rects;
    QRegion region;
    for (const QRect& r : rects) region += r;
    return std::vector<QRect>(region.begin(), region.end());
}

}  // namespace skin
