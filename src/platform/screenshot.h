// The screenshot hot key's picture: the screen area of a window, saved as a
// Windows bitmap.
#pragma once

#include <QImage>
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

enum class ScreenshotResult {
    Saved,
    NoPicture,     // nothing to grab or the grab gave nothing (no screen, off the screen, no X11)
    BlackPicture,  // every pixel black: what a compositor gives a client it does not let look
    NotWritten,    // the file could not be written
};

// One line for the user about a result other than Saved.
const char* describe(ScreenshotResult result);

// Writes `picture` as a bitmap of the screen's depth to `path`. A null, empty or
// all-black picture is refused and an existing file at `path` is left as it was.
ScreenshotResult saveScreenPicture(const QImage& picture, const std::string& path);

// Grabs `area` clipped to the primary screen and saves it as saveScreenPicture does.
ScreenshotResult saveScreenArea(const QRect& area, const std::string& path);

}  // namespace platform
