// The screenshot hot key's picture: the screen area of a window, saved as a
// Windows bitmap.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>
#include <string>

class QObject;

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
    Refused,       // the desktop's screenshot portal said no
    NoAnswer,      // the portal failed, or did not answer in time
};

// One line for the user about a result other than Saved.
const char* describe(ScreenshotResult result);

// Writes `picture` as a bitmap of the screen's depth to `path`. A null, empty or
// all-black picture is refused and an existing file at `path` is left as it was.
ScreenshotResult saveScreenPicture(const QImage& picture, const std::string& path);

// Grabs `area` clipped to the primary screen and saves it as saveScreenPicture does.
ScreenshotResult saveScreenArea(const QRect& area, const std::string& path);

// The part of a picture of the whole desktop that shows `area` (logical pixels,
// `scale` device pixels each), clipped to the picture; all of it without an area.
QImage cropDesktopPicture(const QImage& picture, const std::optional<QRect>& area, double scale);

// Asks the desktop portal for a picture of the screen, without a dialog, and saves
// cropDesktopPicture's part of it as saveScreenPicture does; a `scale` of 0 is the
// picture's width over the virtual desktop's (X11 coordinates under XWayland). `done` runs once, on
// the UI thread, at the latest `timeoutMs` later; never when `owner` is deleted first.
void savePortalScreenshot(QObject* owner, const std::optional<QRect>& area, double scale, std::string path,
                          int timeoutMs, std::function<void(ScreenshotResult)> done);

}  // namespace platform
