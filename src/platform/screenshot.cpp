#include "platform/screenshot.h"

#include <xcb/xcb.h>

#include <QDBusConnection>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "platform/bmp_file.h"
#include "platform/portal_request.h"
#include "platform/x11_connection.h"

namespace platform {

QRect clipToScreen(const QRect& area, const QSize& screen) {
    const int left = std::max(area.left(), 0);
    const int top = std::max(area.top(), 0);
    // QRect's right() is inclusive; work with the exclusive edge as Windows does.
    const int right = std::min(area.left() + area.width(), screen.width());
    const int bottom = std::min(area.top() + area.height(), screen.height());
    return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

namespace {

int x11BitsPerPixel() {
    xcb_connection_t* c = x11Connection();
    if (!c) return 0;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(setup);
    if (!screen.rem) return 0;
    const uint8_t depth = screen.data->root_depth;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        if (f.data->depth == depth) return f.data->bits_per_pixel;
    return depth;
}

}  // namespace

int screenBitsPerPixel() {
    if (const int bits = x11BitsPerPixel()) return bits;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

const char* describe(ScreenshotResult result) {
    switch (result) {
        case ScreenshotResult::Saved:
            return "saved";
        case ScreenshotResult::NoPicture:
            return "the screen gave no picture of the window";
        case ScreenshotResult::BlackPicture:
            return "the screen gave an all-black picture (the desktop does not let the program look)";
        case ScreenshotResult::NotWritten:
            return "the file could not be written";
        case ScreenshotResult::Refused:
            return "the desktop refused the screenshot";
        case ScreenshotResult::NoAnswer:
            return "the desktop's screenshot portal gave no picture";
    }
    return "unknown";
}

namespace {

bool allBlack(const QImage& rgb32) {
    for (int y = 0; y < rgb32.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb32.constScanLine(y));
        for (int x = 0; x < rgb32.width(); ++x)
            if (row[x] & 0x00FFFFFFu) return false;
    }
    return true;
}

}  // namespace

ScreenshotResult saveScreenPicture(const QImage& picture, const std::string& path) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return ScreenshotResult::NoPicture;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    if (allBlack(rgb)) return ScreenshotResult::BlackPicture;
    PixelView view;
    view.pixels = reinterpret_cast<const uint32_t*>(rgb.constBits());
    view.width = rgb.width();
    view.height = rgb.height();
    view.stride = int(rgb.bytesPerLine() / 4);
    return writeBitmapFile(path, view, bitmapBitCount(screenBitsPerPixel())) ? ScreenshotResult::Saved
                                                                             : ScreenshotResult::NotWritten;
}

ScreenshotResult saveScreenArea(const QRect& area, const std::string& path) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (area.isEmpty() || !screen) return ScreenshotResult::NoPicture;
    const QRect clipped = clipToScreen(area, screen->size());
    // A window wholly off the screen has nothing to show.
    if (clipped.isEmpty()) return ScreenshotResult::NoPicture;
    // In device pixels: on a scaled screen the file is larger than the logical area.
    return saveScreenPicture(
        screen->grabWindow(0, clipped.x(), clipped.y(), clipped.width(), clipped.height()).toImage(), path);
}

QImage cropDesktopPicture(const QImage& picture, const std::optional<QRect>& area, double scale) {
    if (!area || picture.isNull()) return picture;
    const double s = scale > 0 ? scale : 1.0;
    const QRect device(int(std::lround(area->x() * s)), int(std::lround(area->y() * s)),
                       int(std::lround(area->width() * s)), int(std::lround(area->height() * s)));
    const QRect clipped = clipToScreen(device, picture.size());
    return clipped.isEmpty() ? QImage() : picture.copy(clipped);
}

void savePortalScreenshot(QObject* owner, const std::optional<QRect>& area, double scale, std::string path,
                          int timeoutMs, std::function<void(ScreenshotResult)> done) {
    const QVariantMap options{{QStringLiteral("interactive"), false}};
    PortalRequest::start(
        owner, QDBusConnection::sessionBus(), QStringLiteral("org.freedesktop.portal.Screenshot"),
        QStringLiteral("Screenshot"), {QString()}, options, timeoutMs,
        [area, scale, path = std::move(path), done = std::move(done)](const PortalAnswer& answer) {
            ScreenshotResult result = ScreenshotResult::NoAnswer;
            if (answer.response == 0 && answer.error.isEmpty()) {
                // Only a local file: the answer comes from another process.
                const QUrl uri(answer.results.value(QStringLiteral("uri")).toString());
                const QImage picture = uri.isLocalFile() ? QImage(uri.toLocalFile()) : QImage();
                double s = scale;
                if (s <= 0) {
                    const QScreen* screen = QGuiApplication::primaryScreen();
                    const int width = screen ? screen->virtualGeometry().width() : 0;
                    s = width > 0 ? double(picture.width()) / width : 1.0;
                }
                result = saveScreenPicture(cropDesktopPicture(picture, area, s), path);
            } else if (answer.error.isEmpty()) {
                result = ScreenshotResult::Refused;
            }
            if (done) done(result);
        });
}

}  // namespace platform
