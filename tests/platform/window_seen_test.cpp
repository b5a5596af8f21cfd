// On a real X server a window that nobody can see (fully covered by another
// window, minimised, hidden) paints nothing, while its timers go on; once it can
// be seen again the paint it was asked for comes at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <vector>

#include "platform/window.h"
#include "platform/x11_connection.h"
#include "support/spin_until.h"

namespace {

class Watched : public platform::Window {
  public:
    Watched() { setWindowFlag(Qt::FramelessWindowHint); }
    std::vector<bool> changes;
    int ticks = 0;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) ++ticks;
        return platform::Window::WindowProc(message, wParam, lParam);
    }
    void OnSeenChange(bool seen) override { changes.push_back(seen); }
};

TEST(WindowSeen, CoveredMinimisedOrHiddenPaintsNothingButKeepsItsTimers) {
    if (!platform::x11Connection()) GTEST_SKIP() << "needs an X server";
    Watched window;
    window.setGeometry(100, 100, 200, 150);
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0 && window.Seen(); }));
    ASSERT_TRUE(window.SetTimer(7, 10));

    // Another window over all of it: the server says it is fully obscured.
    QWidget cover;
    cover.setWindowFlag(Qt::FramelessWindowHint);
    cover.setGeometry(80, 80, 240, 190);
    cover.show();
    cover.raise();
    ASSERT_TRUE(spinUntil([&] { return !window.Seen(); }));
    const int paints = window.PaintCount();
    window.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const int ticks = window.ticks;
    ASSERT_TRUE(spinUntil([&] { return window.ticks >= ticks + 3; })) << "timers go on";
    EXPECT_EQ(window.PaintCount(), paints);

    cover.hide();
    ASSERT_TRUE(spinUntil([&] { return window.Seen(); }));
    EXPECT_GT(window.PaintCount(), paints) << "the paint held back";

    window.ShowWindow(SW_MINIMIZE);
    EXPECT_FALSE(window.Seen());
    const int minimised = window.PaintCount();
    window.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(window.PaintCount(), minimised);
    window.ShowWindow(SW_RESTORE);
    ASSERT_TRUE(spinUntil([&] { return window.Seen() && window.PaintCount() > minimised; }));

    window.ShowWindow(SW_HIDE);
    EXPECT_FALSE(window.Seen());
    EXPECT_EQ(window.changes, (std::vector<bool>{true, false, true, false, true, false}));
}

}  // namespace
