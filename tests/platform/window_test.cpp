// The window base: numbered timers, the posted-message queue, repaint requests,
// and dragging by the background where the window system cannot.
#include "platform/window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "support/spin_until.h"

namespace {

class Recorder : public platform::Window {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) timers.push_back(UINT(wParam));
        if (message == WM_USER) posted.push_back(wParam);
        if (message == WM_PAINT) ++paints;
        return platform::Window::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> timers;
    std::vector<WPARAM> posted;
    int paints = 0;
};

// Runs the event loop until `done` or a generous deadline (a safety net, not a measurement).
TEST(WindowTimers, PeriodsHaveAFloorAndSettingAnIdAgainRestartsIt) {
    Recorder window;
    ASSERT_TRUE(window.SetTimer(7, 0));
    EXPECT_EQ(window.TimerPeriod(7), 10u);
    ASSERT_TRUE(window.SetTimer(7, 250));
    EXPECT_EQ(window.TimerPeriod(7), 250u) << "one timer per ID";
    EXPECT_TRUE(window.KillTimer(7));
    EXPECT_FALSE(window.HasTimer(7));
    EXPECT_FALSE(window.KillTimer(7));
    EXPECT_EQ(window.TimerPeriod(7), 0u);
}

TEST(WindowTimers, EachExpiryCarriesItsIdUntilKilled) {
    Recorder window;
    window.SetTimer(3, 10);
    window.SetTimer(4, 10);
    ASSERT_TRUE(spinUntil([&] {
        return std::count(window.timers.begin(), window.timers.end(), 3u) >= 2 &&
               std::count(window.timers.begin(), window.timers.end(), 4u) >= 2;
    }));
    window.KillTimer(3);
    window.timers.clear();
    ASSERT_TRUE(spinUntil([&] { return window.timers.size() >= 3; }));
    EXPECT_EQ(std::count(window.timers.begin(), window.timers.end(), 3u), 0);
}

TEST(WindowMessages, PostedMessagesArriveInOrderAndNotAfterDestruction) {
    Recorder window;
    for (WPARAM i = 0; i < 100; ++i) window.PostMessage(WM_USER, i);
    EXPECT_TRUE(window.posted.empty()) << "posting never calls the window procedure at once";
    QCoreApplication::sendPostedEvents(&window);
    ASSERT_EQ(window.posted.size(), 100u);
    for (WPARAM i = 0; i < 100; ++i) ASSERT_EQ(window.posted[i], i);

    window.posted.clear();
    window.PostMessage(WM_USER, 1);
    window.SetTimer(5, 10);
    window.DestroyWindow();
    EXPECT_FALSE(window.PostMessage(WM_USER, 2));
    EXPECT_FALSE(window.SetTimer(6, 10));
    EXPECT_FALSE(window.HasTimer(5));
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_TRUE(window.posted.empty()) << "what was queued before destruction is dropped";
}

// A window whose handler of WM_USER does what the test says, after noting it.
class Poster : public platform::Window {
  public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER) {
            posted.push_back(wParam);
            if (onUser) onUser(wParam);
        }
        if (message == WM_TIMER && onTimer) onTimer();
        return platform::Window::WindowProc(message, wParam, lParam);
    }
    std::vector<WPARAM> posted;
    std::function<void(WPARAM)> onUser;
    std::function<void()> onTimer;
};

TEST(WindowMessages, WhatAHandlerPostsComesAfterItInOrderAndBehindWhatWasQueuedBefore) {
    Poster window;
    std::vector<WPARAM> seenInHandler;
    window.onUser = [&](WPARAM value) {
        if (value == 0) {
            window.PostMessage(WM_USER, 1);
            window.PostMessage(WM_USER, 2);
            seenInHandler = window.posted;
        }
        if (value == 10) window.PostMessage(WM_USER, 12);
    };
    window.PostMessage(WM_USER, 0);
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_EQ(seenInHandler, (std::vector<WPARAM>{0})) << "nothing arrives while its poster runs";
    EXPECT_EQ(window.posted, (std::vector<WPARAM>{0, 1, 2}));

    window.posted.clear();
    window.PostMessage(WM_USER, 10);
    window.PostMessage(WM_USER, 11);
    ASSERT_TRUE(spinUntil([&] { return window.posted.size() >= 3; }));
    EXPECT_EQ(window.posted, (std::vector<WPARAM>{10, 11, 12}));

    // A message that posts itself again yields to the event loop every time.
    window.posted.clear();
    window.onUser = [&](WPARAM value) { window.PostMessage(WM_USER, value); };
    window.PostMessage(WM_USER, 20);
    QCoreApplication::processEvents();
    EXPECT_GE(window.posted.size(), 1u);
    EXPECT_LT(window.posted.size(), 100u);
    window.onUser = nullptr;
    QCoreApplication::sendPostedEvents(&window);
}

TEST(WindowMessages, AHandlerWaitingInALoopOfItsOwnGetsWhatItPostedThere) {
    Poster window;
    bool arrivedInLoop = false;
    bool ticked = false;
    // Inside a timer event, as the eye posts its command at each frame.
    window.onTimer = [&] {
        if (ticked) return;
        ticked = true;
        window.KillTimer(9);
        window.PostMessage(WM_USER, 1);
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
        arrivedInLoop = window.posted == std::vector<WPARAM>{1};
    };
    window.SetTimer(9, 10);
    ASSERT_TRUE(spinUntil([&] { return ticked && !window.posted.empty(); }));
    EXPECT_TRUE(arrivedInLoop);
    EXPECT_EQ(window.posted, (std::vector<WPARAM>{1}));
}

TEST(WindowPaint, RequestsBeforeThePaintEndInOnePaint) {
    Recorder window;
    window.resize(50, 50);
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.paints > 0; }));
    const int before = window.paints;
    const RECT a{0, 0, 10, 10}, b{20, 20, 30, 30};
    window.RedrawWindow(&a, RDW_INTERNALPAINT);
    window.RedrawWindow(&b, RDW_INTERNALPAINT);
    window.UpdateWindow();
    EXPECT_EQ(window.paints, before + 1);
    window.UpdateWindow();
    EXPECT_EQ(window.paints, before + 1) << "nothing pending, nothing painted";
    window.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(window.paints, before + 2);
}

// Its left half is background; it writes down WM_MOVE and the left-button messages.
class DragWindow : public platform::Window {
  public:
    DragWindow() { setWindowFlag(Qt::FramelessWindowHint); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCHITTEST) {
            const QPoint client = mapFromGlobal(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
            return client.x() < 50 ? HTCAPTION : HTCLIENT;
        }
        if (message == WM_MOVE) moves.emplace_back(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_MOUSEMOVE)
            mouse.push_back(message);
        return platform::Window::WindowProc(message, wParam, lParam);
    }
    // A pointer event at a client point, with the global point the window system would give.
    void send(QEvent::Type type, QPoint client, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(client), QPointF(mapToGlobal(client)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(this, &e);
    }
    std::vector<QPoint> moves;
    std::vector<UINT> mouse;
};

TEST(WindowDrag, BackgroundDragMovesTheWindowByThePointersDeltaAndSendsOnlyMoves) {
    DragWindow window;  // the offscreen platform refuses system moves
    window.setGeometry(100, 80, 100, 60);
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.pos() == QPoint(100, 80); }));
    window.moves.clear();

    window.send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    window.send(QEvent::MouseMove, {30, 20}, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(spinUntil([&] { return window.pos() == QPoint(120, 90); }));
    // The window is under the pointer again, so its client point is the press's.
    window.send(QEvent::MouseMove, {10 + 40, 10 + 30}, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(spinUntil([&] { return window.pos() == QPoint(160, 120); }));
    window.send(QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(window.mouse.empty()) << "a drag is no click";
    ASSERT_TRUE(spinUntil([&] { return !window.moves.empty() && window.moves.back() == QPoint(160, 120); }))
        << "WM_MOVE tells where the drag left the window";

    // After the release, moves and presses are the window's again.
    window.send(QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::NoButton);
    window.send(QEvent::MouseButtonPress, {70, 10}, Qt::LeftButton, Qt::LeftButton);
    window.send(QEvent::MouseMove, {90, 30}, Qt::NoButton, Qt::LeftButton);
    window.send(QEvent::MouseButtonRelease, {90, 30}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window.mouse, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
    EXPECT_EQ(window.pos(), QPoint(160, 120)) << "a drag that starts on a control moves nothing";
}

TEST(WindowDrag, ADragWhoseReleaseWentMissingEndsAtTheNextMoveOrPress) {
    DragWindow window;
    window.setGeometry(100, 80, 100, 60);
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.pos() == QPoint(100, 80); }));

    window.send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    window.send(QEvent::MouseMove, {20, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window.mouse, std::vector<UINT>{WM_MOUSEMOVE});
    EXPECT_EQ(window.pos(), QPoint(100, 80));

    window.mouse.clear();
    window.send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    window.send(QEvent::MouseButtonPress, {70, 10}, Qt::LeftButton, Qt::LeftButton);
    window.send(QEvent::MouseButtonRelease, {70, 10}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window.mouse, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

}  // namespace
