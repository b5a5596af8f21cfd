// What a real X server holds for a window, and its exposes, for tests that run on one.
#pragma once

#include <xcb/xcb.h>

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QWidget>
#include <cstdlib>

#include "platform/x11_connection.h"

namespace testsupport {

// The window's pixels as the server holds them (32-bit windows).
inline QImage onServer(const QWidget& window) {
    xcb_connection_t* c = platform::x11Connection();
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, xcb_window_t(window.winId()), 0, 0,
                                          uint16_t(window.width()), uint16_t(window.height()), ~0u),
                            nullptr);
    if (!reply) return QImage();
    const QImage image(xcb_get_image_data(reply), window.width(), window.height(), window.width() * 4,
                       QImage::Format_ARGB32_Premultiplied);
    QImage copy = image.copy();
    std::free(reply);
    return copy;
}

// Counts the exposes that reach the object it filters.
class ExposeCounter : public QObject {
  public:
    int exposes = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Expose) ++exposes;
        return false;
    }
};

}  // namespace testsupport
