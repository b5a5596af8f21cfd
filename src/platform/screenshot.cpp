#include "platform/screenshot.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "platform/bmp_file.h"
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

bool saveScreenArea(const QRect& area, const std::string& path) {
    if (area.isEmpty()) return false;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
    const QRect clipped = clipToScreen(area, screen->size());
    QImage picture;
    if (!clipped.isEmpty()) {
        // In device pixels: on a scaled screen the file is larger than the logical area.
        picture = screen->grabWindow(0, clipped.x(), clipped.y(), clipped.width(), clipped.height())
                      .toImage()
                      .convertToFormat(QImage::Format_RGB32);
    }
    // A window wholly off the screen gives an empty bitmap.
    PixelView view;
    if (!picture.isNull()) {
        view.pixels = reinterpret_cast<const uint32_t*>(picture.constBits());
        view.width = picture.width();
        view.height = picture.height();
        view.stride = int(picture.bytesPerLine() / 4);
    }
    return writeBitmapFile(path, view, bitmapBitCount(screenBitsPerPixel()));
}

}  // namespace platform
