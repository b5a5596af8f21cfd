// The screenshot hot key's picture: the screen area of a window, saved as a
// Windows bitmap.
#pragma once

#include <QRect>
#include <QSize>
#include <string>

namespace platform {

// The part of `area` (screen pixels) that lies on a screen of `screen` size:
// left and top at least 0, right and bottom at most the screen's. Never negative.
QRect clipToScreen(const QRect& area, const QSize& screen);

// Bits per pixel of the primary screen's pixels: the X server's pixmap format for
// its root depth (32 for a 24-bit depth), else the screen's depth.
int screenBitsPerPixel();

// Grabs `area` clipped to the primary screen and writes it as a bitmap to `path`.
// False (and no file touched) for an empty area or when there is no screen;
// false when the file cannot be written.
bool saveScreenArea(const QRect& area, const std::string& path);

}  // namespace platform
