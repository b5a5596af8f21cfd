#pragma once

#include <QFont>
#include <QRect>

namespace platform {

// Dialog units to pixels for a dialog in `font`, as Windows computes them: one
// horizontal unit is a quarter of the font's average character width, one
// vertical unit an eighth of its height.
QRect dialogUnitsToPixels(const QFont& font, int x, int y, int width, int height);

}  // namespace platform
