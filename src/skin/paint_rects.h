// The rectangles one paint composes. A QRegion cuts every changed place at the
// row edges of the places beside it, and each cut piece is then composed on its
// own: an eye frame beside a changed gauge label came out in four pieces, none
// of them the rectangle its kept composition is for. Here each place stays
// whole where that costs no more than a little overlap, and no two rectangles
// overlap.
#pragma once

#include <QRect>
#include <vector>

namespace skin {

// `places` clipped to `bounds`, covering no pixel twice: overlapping places
// joined into their bounding rectangle where it is not much larger than both,
// else cut apart. Empty places are dropped.
std::vector<QRect> paintRects(const std::vector<QRect>& places, const QRect& bounds);

}  // namespace skin
