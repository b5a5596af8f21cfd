// What the window base delivers on its own: WM_SHOWWINDOW, WM_DESTROY, the
// paint messages for each RedrawWindow flag, and child windows' placement.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <vector>

#include "platform/window.h"
#include "support/spin_until.h"

namespace {

struct Message {
    UINT message;
    WPARAM wParam;
    bool operator==(const Message&) const = default;
};

class Logger : public platform::Window {
  public:
    explicit Logger(Window* owner = nullptr) : Window(owner) {}
    Logger(QWidget* parent, Placement placement) : Window(parent, placement) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SHOWWINDOW || message == WM_DESTROY || message == WM_PAINT ||
            message == WM_ERASEBKGND || message == WM_KEYDOWN)
            log.push_back({message, wParam});
        if (message == WM_DESTROY && onDestroy) onDestroy();
        return Window::WindowProc(message, wParam, lParam);
    }
    std::vector<Message> only(UINT message) const {
        std::vector<Message> r;
        for (const Message& m : log)
            if (m.message == message) r.push_back(m);
        return r;
    }
    std::vector<Message> log;
    std::function<void()> onDestroy;
    int cancels = 0;

  protected:
    void OnCancel() override { ++cancels; }
};

TEST(WindowShow, ShowWindowSendsWmShowWindowOnlyWhenTheShownStateChanges) {
    Logger w;
    w.resize(40, 40);
    EXPECT_FALSE(w.ShowWindow(SW_SHOW));
    EXPECT_TRUE(w.ShowWindow(SW_SHOWNORMAL));
    EXPECT_TRUE(w.ShowWindow(SW_HIDE));
    w.ShowWindow(SW_HIDE);
    w.SetWindowPos(0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_EQ(w.only(WM_SHOWWINDOW),
              (std::vector<Message>{{WM_SHOWWINDOW, 1}, {WM_SHOWWINDOW, 0}, {WM_SHOWWINDOW, 1}}));

    // A child reports its own shown state, not its parent's.
    QWidget tab;
    Logger page(&tab, platform::Window::Placement::Child);
    EXPECT_FALSE(page.isVisible());
    page.ShowWindow(SW_SHOW);
    EXPECT_EQ(page.only(WM_SHOWWINDOW), (std::vector<Message>{{WM_SHOWWINDOW, 1}}));
    page.ShowWindow(SW_HIDE);
    page.ShowWindow(SW_SHOW);
    EXPECT_EQ(page.only(WM_SHOWWINDOW).size(), 3u);
    page.SetParent(nullptr);
    page.SetParent(&tab);
    EXPECT_EQ(page.only(WM_SHOWWINDOW).size(), 3u) << "moving a page to another parent is no show or hide";
    EXPECT_FALSE(page.isHidden());
}

TEST(WindowShow, ShowWithoutActivationLeavesTheActiveWindowActive) {
    Logger main;
    main.resize(60, 60);
    main.ShowWindow(SW_SHOW);
    main.SetForegroundWindow();
    ASSERT_TRUE(spinUntil([&] { return QApplication::activeWindow() == &main; }));
    for (int cmd : {SW_SHOWNA, SW_SHOWNOACTIVATE}) {
        Logger panel(&main);
        panel.resize(30, 30);
        panel.ShowWindow(cmd);
        EXPECT_TRUE(panel.isVisible());
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &main) << cmd;
    }
    Logger panel(&main);
    panel.resize(30, 30);
    panel.ShowWindow(SW_SHOW);
    EXPECT_TRUE(spinUntil([&] { return QApplication::activeWindow() == &panel; })) << "SW_SHOW activates";
}

TEST(WindowDestroy, DestroyWindowSendsWmDestroyOnceToTheWindowThenItsChildren) {
    std::vector<std::string> order;
    Logger top;
    QWidget* tab = new QWidget(&top);
    auto* page = new Logger(tab, platform::Window::Placement::Child);
    auto* inner = new Logger(page, platform::Window::Placement::Child);
    Logger owned(&top);  // an owned top-level window is its owner's business
    top.onDestroy = [&] {
        order.push_back("top");
        EXPECT_TRUE(top.KillTimer(1)) << "timers still there while WM_DESTROY runs";
        EXPECT_FALSE(top.PostMessage(WM_USER));
    };
    page->onDestroy = [&] { order.push_back("page"); };
    inner->onDestroy = [&] { order.push_back("inner"); };
    top.SetTimer(1, 1000);
    top.ShowWindow(SW_SHOW);
    top.log.clear();

    top.DestroyWindow();
    top.DestroyWindow();
    EXPECT_EQ(order, (std::vector<std::string>{"top", "page", "inner"}));
    EXPECT_EQ(top.log, (std::vector<Message>{{WM_DESTROY, 0}})) << "no WM_SHOWWINDOW for a window going away";
    EXPECT_TRUE(page->IsDestroyed());
    EXPECT_FALSE(owned.IsDestroyed());
    EXPECT_EQ(page->GetParent(), &top) << "through the plain widget between them";
}

TEST(WindowPaint, EachRedrawFlagDoesWhatItSays) {
    Logger w;
    w.resize(50, 50);
    w.ShowWindow(SW_SHOW);
    ASSERT_TRUE(spinUntil([&] { return !w.only(WM_PAINT).empty(); }));
    const RECT r{0, 0, 10, 10};

    w.log.clear();
    w.RedrawWindow(&r, RDW_INVALIDATE);
    EXPECT_TRUE(w.log.empty()) << "without RDW_UPDATENOW the paint comes from the event loop";
    ASSERT_TRUE(spinUntil([&] { return !w.log.empty(); }));
    EXPECT_EQ(w.log, (std::vector<Message>{{WM_PAINT, 0}}));

    w.log.clear();
    w.RedrawWindow(&r, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(w.log, (std::vector<Message>{{WM_ERASEBKGND, 0}, {WM_PAINT, 0}}));

    w.log.clear();
    w.RedrawWindow(&r, RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(w.log.empty()) << "nothing invalidated, nothing to paint";
    const RECT outside{100, 100, 120, 120};
    w.RedrawWindow(&outside, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(w.log.empty());

    w.RedrawWindow(&r, RDW_INTERNALPAINT);
    w.UpdateWindow();
    EXPECT_EQ(w.log, (std::vector<Message>{{WM_PAINT, 0}})) << "a paint though nothing is invalid, no erase";
    w.UpdateWindow();
    EXPECT_EQ(w.log.size(), 1u);

    w.ShowWindow(SW_HIDE);
    w.log.clear();
    w.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(w.log.empty()) << "a hidden window paints when it is shown";
}

TEST(WindowChild, AChildIsPlacedInItsParentsClientArea) {
    Logger top;
    top.setGeometry(200, 100, 300, 200);
    top.ShowWindow(SW_SHOW);
    QWidget* tab = new QWidget(&top);
    tab->setGeometry(10, 20, 280, 170);
    tab->show();
    Logger page(tab, platform::Window::Placement::Child);
    page.SetWindowPos(4, 24, 100, 50, SWP_NOZORDER | SWP_SHOWWINDOW);
    EXPECT_TRUE(page.IsChild());
    EXPECT_FALSE(page.isWindow());
    EXPECT_EQ(page.GetClientRect(), (RECT{0, 0, 100, 50}));
    const QPoint screen = tab->mapToGlobal(QPoint(4, 24));
    EXPECT_EQ(page.GetWindowRect(), (RECT{screen.x(), screen.y(), screen.x() + 100, screen.y() + 50}))
        << "screen coordinates";
    EXPECT_EQ(page.GetParent(), &top);

    // Escape in a page is the dialog's: the page does not cancel itself.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&page, &escape);
    EXPECT_EQ(page.cancels, 0);
    EXPECT_EQ(top.cancels, 1);
    EXPECT_EQ(page.only(WM_KEYDOWN).size(), 1u);
}

}  // namespace
