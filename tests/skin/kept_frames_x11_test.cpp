// On a real X server an animation's frames shown again come from copies the
// server keeps. What the server shows for the window is still the whole
// composition at every tick, through changes beside the eye and exposes, and
// the window's surface catches up whenever something reads it.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QWindow>

#include "platform/x11_connection.h"
#include "skin/animation.h"
#include "skin/progressbar.h"
#include "skin_fixture.h"
#include "skin_window.h"
#include "support/spin_until.h"
#include "support/x11_pixels.h"

namespace {

using testsupport::ExposeCounter;
using testsupport::onServer;

// Frames that differ only inside `moving`, each a solid colour there.
void writeEye(const std::filesystem::path& file, int w, int h, int frames, const QRect& moving) {
    QImage image(w * frames, h, QImage::Format_ARGB32);
    for (int f = 0; f < frames; ++f)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(f * w + x, y,
                               moving.contains(x, y) ? qRgba(40 * f, 255 - 30 * f, (x * y) % 256, 200)
                                                     : qRgba(x * 4, y * 4, 90, 255));
    std::filesystem::create_directories(file.parent_path());
    image.save(QString::fromStdString(file.string()), "PNG");
}

class KeptFrames : public SkinTest {};

TEST_F(KeptFrames, TheServerShowsTheWholeCompositionAtEveryTick) {
    if (!platform::x11Connection()) GTEST_SKIP() << "needs an X server";
    writeStrip("ImageRes/bg.png", 300, 200, {0xFF203040});
    writeEye("ImageRes/eye.png", 60, 60, 6, QRect(8, 12, 40, 30));
    SkinTestWindow window(QStringLiteral("ImageRes/bg.png"));
    CAnimation eye;
    eye.Create(&window, 1, RECT{100, 60, 160, 120}, {}, QStringLiteral("ImageRes/eye.png"));
    eye.SetFrameCount(6);
    CProgressbar gauge;
    gauge.Create(&window, 2, RECT{20, 30, 30, 180});
    gauge.SetRange(100);
    window.setGeometry(40, 40, 300, 200);
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }));
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0; }));
    QCoreApplication::processEvents();
    for (int frame = 0; frame < 6; ++frame) window.tick(CAnimation::kTimerId);  // each frame composed once
    ASSERT_TRUE(window.PresentsDirectly()) << "the X server offers a 32-bit visual and MIT-SHM";

    const long long kept = window.KeptPixelsShown();
    const int paints = window.PaintCount();
    for (int tick = 0; tick < 8; ++tick) {
        window.tick(CAnimation::kTimerId);
        EXPECT_EQ(onServer(window), window.ComposeCopy()) << tick;
    }
    EXPECT_EQ(window.KeptPixelsShown() - kept, 8) << "every frame from the server's copy";
    EXPECT_EQ(window.PaintCount(), paints) << "nothing composed";

    // A change beside the eye is composed while the eye's last frame is not yet
    // in the surface; the surface read afterwards is whole.
    gauge.SetPos(60);
    window.tick(CAnimation::kTimerId);
    EXPECT_EQ(onServer(window), window.ComposeCopy()) << "gauge";
    window.tick(CAnimation::kTimerId);
    EXPECT_EQ(window.surface(), window.ComposeCopy()) << "surface read after a kept frame";
    EXPECT_EQ(onServer(window), window.surface());

    // The server asks for the whole window again right after a kept frame.
    window.tick(CAnimation::kTimerId);
    window.tick(CAnimation::kTimerId);
    ExposeCounter counter;
    window.windowHandle()->installEventFilter(&counter);
    xcb_clear_area(platform::x11Connection(), 1, xcb_window_t(window.winId()), 0, 0, 0, 0);
    xcb_flush(platform::x11Connection());
    ASSERT_TRUE(spinUntil([&] { return counter.exposes > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(onServer(window), window.ComposeCopy()) << "after the expose";
}

}  // namespace
