// On a real X server a top-level window hands its changed areas to the server
// from shared memory of its own; what the server holds for the window is the
// window's surface after every paint, after a resize, and after the server
// asks for it again in an expose (served from Qt's backing store).
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QPainter>
#include <QWindow>
#include <cstdlib>

#include "platform/window.h"
#include "platform/x11_connection.h"
#include "support/spin_until.h"
#include "support/x11_pixels.h"

namespace {

using testsupport::ExposeCounter;
using testsupport::onServer;

// Paints its update region in a pattern that differs per pixel and per `seed`.
class Canvas : public platform::Window {
  public:
    Canvas() {
        setWindowFlag(Qt::FramelessWindowHint);
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    int seed = 0;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            if (m_surface.size() != size()) {
                m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
                m_surface.fill(Qt::transparent);
            }
            const QRegion area = UpdateRegion().isEmpty() ? QRegion(rect()) : UpdateRegion();
            for (const QRect& r : area)
                for (int y = r.top(); y <= r.bottom(); ++y)
                    for (int x = r.left(); x <= r.right(); ++x)
                        m_surface.setPixel(
                            x, y, qRgb((x * 7 + seed * 40) % 256, (y * 5 + seed) % 256, (x ^ y) % 256));
        }
        return Window::WindowProc(message, wParam, lParam);
    }
};

TEST(ShmPresenter, TheServerHoldsTheSurfaceAfterPaintsExposesAndResizes) {
    if (!platform::x11Connection()) GTEST_SKIP() << "needs an X server";
    Canvas canvas;
    canvas.setGeometry(40, 40, 200, 150);
    canvas.show();
    ASSERT_TRUE(spinUntil([&] { return canvas.windowHandle() && canvas.windowHandle()->isExposed(); }));
    ExposeCounter counter;
    canvas.windowHandle()->installEventFilter(&counter);
    QCoreApplication::processEvents();

    canvas.seed = 1;
    canvas.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(canvas.PresentsDirectly()) << "the X server offers a 32-bit visual and MIT-SHM";
    EXPECT_EQ(onServer(canvas), canvas.surface());

    canvas.seed = 2;
    const RECT part{30, 20, 90, 70};
    canvas.RedrawWindow(&part, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(onServer(canvas), canvas.surface()) << "a part";

    // An expose (the server asks for the whole window again) is served from
    // Qt's backing store, which must have what went past it.
    canvas.seed = 3;
    canvas.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const int exposes = counter.exposes;
    xcb_clear_area(platform::x11Connection(), 1, xcb_window_t(canvas.winId()), 0, 0, 0, 0);
    xcb_flush(platform::x11Connection());
    ASSERT_TRUE(spinUntil([&] { return counter.exposes > exposes; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(onServer(canvas), canvas.surface()) << "after the expose";

    canvas.resize(230, 170);
    ASSERT_TRUE(
        spinUntil([&] { return canvas.PaintCount() > 0 && canvas.surface().size() == QSize(230, 170); }));
    QCoreApplication::processEvents();
    canvas.seed = 4;
    canvas.RedrawWindow(&part, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(canvas.PresentsDirectly());
    EXPECT_EQ(onServer(canvas), canvas.surface()) << "after a resize";
}

// The window composes on the shared image itself; a copy of its surface taken
// meanwhile keeps its pixels through later paints and after the window is gone.
TEST(ShmPresenter, ACopyOfTheSurfaceKeepsItsPixelsThroughPaintsAndOutlivesTheWindow) {
    if (!platform::x11Connection()) GTEST_SKIP() << "needs an X server";
    QImage kept, expected;
    {
        Canvas canvas;
        canvas.setGeometry(40, 40, 120, 90);
        canvas.show();
        ASSERT_TRUE(spinUntil([&] { return canvas.windowHandle() && canvas.windowHandle()->isExposed(); }));
        QCoreApplication::processEvents();
        canvas.seed = 1;
        canvas.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_TRUE(canvas.PresentsDirectly());
        canvas.seed = 2;
        canvas.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(onServer(canvas), canvas.surface());

        kept = canvas.surface();
        expected = kept.copy();
        const RECT part{10, 10, 60, 50};
        for (int seed : {3, 4, 5}) {
            canvas.seed = seed;
            canvas.RedrawWindow(seed == 4 ? nullptr : &part, RDW_INVALIDATE | RDW_UPDATENOW);
            EXPECT_EQ(onServer(canvas), canvas.surface()) << seed;
            EXPECT_EQ(kept, expected) << seed;
        }
        EXPECT_TRUE(canvas.PresentsDirectly());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(kept, expected) << "after the window";
}

}  // namespace
