// The control dispatcher and the skinned window's message forwarding, background
// presses, hit test and composition.
#include <gtest/gtest.h>

#include "skin/button_ex.h"
#include "skin/static_text.h"
#include "skin_fixture.h"
#include "skin_window.h"

namespace {

// Records what the dispatcher hands it.
class Probe : public CControls {
  public:
    void OnLButtonDown(UINT, int, int) override { ++downs; }
    void OnLButtonUp(UINT nFlags, int x, int) override {
        ups.push_back({nFlags, x});
        if (nFlags == WM_CTRL_LINK) m_pOwner->PostMessage(WM_COMMAND, kHeardLink, 0);
    }
    void OnMouseMove(UINT, int, int) override { ++moves; }
    void OnMouseEnter(UINT, int, int) override { ++enters; }
    void OnMouseLeave(UINT, int, int) override { ++leaves; }
    void OnTimer() override { ++ticks; }
    void Draw(QPainter*) override { ++draws; }

    static constexpr WPARAM kHeardLink = 9999;
    struct Up {
        UINT flags;
        int x;
        bool operator==(const Up&) const = default;
    };
    std::vector<Up> ups;
    int downs = 0, moves = 0, enters = 0, leaves = 0, ticks = 0, draws = 0;
};

constexpr RECT kBox{10, 10, 60, 40};
constexpr int kInX = 20, kInY = 20;
constexpr int kOutX = 150, kOutY = 150;

using Dispatcher = SkinTest;

TEST_F(Dispatcher, HiddenControlNeitherPaintsNorReacts) {
    SkinTestWindow window;
    Probe probe, linker;
    probe.Create(&window, 7, kBox);
    probe.SetTimerID(3);
    linker.Create(&window, &probe, 8, RECT{100, 10, 140, 40});
    probe.ShowControl(SW_HIDE);

    window.Compose();
    window.click(kInX, kInY);
    window.tick(3);
    window.click(110, 20);  // would tell the hidden probe through the link

    EXPECT_EQ(probe.draws, 0);
    EXPECT_EQ(probe.downs + probe.moves + probe.enters + probe.ticks, 0);
    EXPECT_TRUE(probe.ups.empty());
    EXPECT_EQ(window.takeCommands(), std::vector<WPARAM>{8});
    // A press on a hidden control is a press on the background.
    window.press(kInX, kInY);
    EXPECT_TRUE(window.BackgroundDown());
}

TEST_F(Dispatcher, DisabledControlPostsNothingButStillBlocksTheBackgroundPress) {
    SkinTestWindow window;
    Probe probe, linker;
    probe.Create(&window, 7, kBox);
    probe.SetTimerID(3);
    linker.Create(&window, &probe, 8, RECT{100, 10, 140, 40});
    window.pointAt(kInX, kInY);  // hover, then disable
    probe.Enable(false);

    window.pointAt(kOutX, kOutY);
    window.press(kInX, kInY);
    EXPECT_FALSE(window.BackgroundDown());
    window.release(kInX, kInY);
    window.tick(3);
    window.click(110, 20);
    window.Compose();

    EXPECT_TRUE(probe.IsHover()) << "a disabled control keeps the state it was left in";
    EXPECT_FALSE(probe.IsPressed());
    EXPECT_EQ(probe.downs + probe.ticks + probe.leaves, 0);
    EXPECT_TRUE(probe.ups.empty());
    EXPECT_GT(probe.draws, 0) << "disabled controls still paint";
    EXPECT_EQ(window.takeCommands(), std::vector<WPARAM>{8});
}

TEST_F(Dispatcher, PressInsideReleaseOutsidePostsNothingAndEndsNormal) {
    SkinTestWindow window;
    Probe probe;
    probe.Create(&window, 7, kBox);
    window.pointAt(kInX, kInY);
    EXPECT_TRUE(probe.IsHover());
    window.press(kInX, kInY);
    EXPECT_TRUE(probe.IsPressed());
    EXPECT_FALSE(probe.IsHover());
    EXPECT_TRUE(window.HasCapture());

    // While pressed, leaving changes nothing and keeps the capture; coming back hovers again.
    window.pointAt(kOutX, kOutY);
    EXPECT_EQ(probe.leaves, 0);
    EXPECT_TRUE(window.HasCapture());
    window.pointAt(kInX, kInY);
    EXPECT_TRUE(probe.IsHover());
    window.pointAt(kOutX, kOutY);
    window.release(kOutX, kOutY);

    EXPECT_TRUE(window.takeCommands().empty());
    EXPECT_FALSE(probe.IsPressed());
    EXPECT_FALSE(probe.IsHover());
    EXPECT_EQ(probe.ups, (std::vector<Probe::Up>{{0, kOutX}})) << "the release still reaches the control";
    EXPECT_FALSE(window.HasCapture());
}

TEST_F(Dispatcher, ClickPostsOnceBeforeTheLinkTargetHears) {
    SkinTestWindow window;
    Probe target, button;
    target.Create(&window, 5, RECT{200, 100, 250, 150});
    button.Create(&window, &target, 0x10007, kBox);  // only the low word travels

    window.click(kInX, kInY);

    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{7, Probe::kHeardLink}));
    EXPECT_EQ(target.ups, (std::vector<Probe::Up>{{WM_CTRL_LINK, 7}}));
    EXPECT_FALSE(button.IsHover()) << "after a click the control looks normal until the pointer re-enters";
    EXPECT_EQ(button.downs, 1);
}

TEST_F(Dispatcher, EveryControlOnATimerIdTicksAndPostsItsOwnTick) {
    SkinTestWindow window;
    Probe a, b, other;
    a.Create(&window, 21, kBox);
    b.Create(&window, 22, RECT{100, 10, 140, 40});
    other.Create(&window, 23, RECT{100, 100, 140, 140});
    a.SetTimerID(4);
    b.SetTimerID(4);
    other.SetTimerID(5);

    window.tick(4);

    EXPECT_EQ(a.ticks, 1);
    EXPECT_EQ(b.ticks, 1);
    EXPECT_EQ(other.ticks, 0);
    EXPECT_EQ(window.takeCommands(),
              (std::vector<WPARAM>{MAKEWPARAM(21, NOTIFY_TIMER_TICK), MAKEWPARAM(22, NOTIFY_TIMER_TICK)}));
}

TEST_F(Dispatcher, EnteringCapturesAndLeavingReleasesUnlessTheBackgroundIsDown) {
    SkinTestWindow window;
    Probe probe;
    probe.Create(&window, 7, kBox);

    window.pointAt(kInX, kInY);
    EXPECT_EQ(probe.enters, 1);
    EXPECT_TRUE(window.HasCapture());
    EXPECT_FALSE(probe.PointerLeft());
    window.pointAt(kInX + 1, kInY);
    EXPECT_EQ(probe.moves, 1);
    window.pointAt(kOutX, kOutY);
    EXPECT_EQ(probe.leaves, 1);
    EXPECT_TRUE(probe.PointerLeft());
    EXPECT_FALSE(window.HasCapture());

    // Pressed on the background, the pointer crossing a control keeps the window's capture.
    window.press(kOutX, kOutY);
    EXPECT_TRUE(window.BackgroundDown());
    window.pointAt(kInX, kInY);
    window.pointAt(kOutX, kOutY);
    EXPECT_TRUE(window.HasCapture());
    window.release(kOutX, kOutY);
    EXPECT_FALSE(window.BackgroundDown());
    EXPECT_TRUE(window.BackgroundDownAllowed());
    EXPECT_FALSE(window.HasCapture());
}

TEST_F(Dispatcher, PointerLeftOfTheWindowIsOutsideEveryControl) {
    SkinTestWindow window;
    Probe probe;
    probe.Create(&window, 7, RECT{0, 0, 100, 100});
    window.pointAt(5, 5);
    // A captured pointer at x = -3 arrives as 65533 in the low word.
    window.pointAt(-3, 5);
    EXPECT_EQ(probe.leaves, 1);
    window.press(5, 5);
    window.release(-3, 5);
    EXPECT_TRUE(window.takeCommands().empty());
}

TEST_F(Dispatcher, BackgroundIsACaptionOnlyWhereNoControlLies) {
    SkinTestWindow window;
    Probe shown, hidden;
    shown.Create(&window, 1, kBox);
    hidden.Create(&window, 2, RECT{100, 10, 140, 40});
    hidden.ShowControl(SW_HIDE);
    auto hitAt = [&](int x, int y) {
        const QPoint screen = window.mapToGlobal(QPoint(x, y));
        return window.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x(), screen.y()));
    };
    EXPECT_EQ(hitAt(kOutX, kOutY), HTCAPTION);
    EXPECT_EQ(hitAt(kInX, kInY), HTCLIENT);
    EXPECT_EQ(hitAt(110, 20), HTCLIENT) << "hidden controls are not background either";
}

TEST_F(Dispatcher, EnterDoesNotCloseASkinnedWindow) {
    SkinTestWindow window;
    window.Create();
    window.show();
    window.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(window.isVisible());
}

using Composition = SkinTest;

TEST_F(Composition, BackgroundThenControlsInListOrderHiddenOnesLeftOut) {
    writeStrip("ImageRes/bg.png", 300, 200, {0xFF101010});
    writeStrip("ImageRes/red.png", 50, 30, {0xFFFF0000, 0xFFFF0000, 0xFFFF0000});
    writeStrip("ImageRes/blue.png", 50, 30, {0xFF0000FF, 0xFF0000FF, 0xFF0000FF});
    SkinTestWindow window("ImageRes/bg.png");
    CButtonEx below, above, elsewhere;
    below.Create(&window, 1, kBox, {}, "ImageRes/red.png");
    above.Create(&window, 2, RECT{30, 10, 80, 40}, {}, "ImageRes/blue.png");
    elsewhere.Create(&window, 3, RECT{100, 100, 150, 130}, {}, "ImageRes/red.png");

    const QImage& image = window.Compose();
    ASSERT_EQ(image.size(), QSize(300, 200));
    EXPECT_EQ(image.pixel(5, 5), 0xFF101010u);
    EXPECT_EQ(image.pixel(15, 15), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(35, 15), 0xFF0000FFu) << "a later control paints over an earlier one";
    EXPECT_EQ(image.pixel(120, 110), 0xFFFF0000u);

    elsewhere.ShowControl(SW_HIDE);
    EXPECT_EQ(window.Compose().pixel(120, 110), 0xFF101010u);
    window.SendMessage(WM_ERASEBKGND);
    EXPECT_EQ(window.Surface().pixel(120, 110), 0xFF101010u) << "the erase path skips hidden controls too";
    EXPECT_EQ(window.Surface().pixel(15, 15), 0xFFFF0000u);
}

TEST_F(Composition, MissingPicturesAndEmptyTextsDrawNothing) {
    SkinTestWindow window("ImageRes/none.png");
    CButtonEx button;
    button.Create(&window, 1, kBox, {}, "ImageRes/missing.png");
    CStaticText empty;
    empty.Create(&window, 2, RECT{100, 100, 200, 130});
    CButtonEx noPicture;
    noPicture.Create(&window, 3, RECT{0, 150, 100, 190});

    const QImage& image = window.Compose();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << x << "," << y;
    EXPECT_TRUE(m_messageBoxes.seen.empty());

    // The same label with text does draw.
    empty.SetText("88");
    empty.SetColour(0xFFFFFFFF);
    const QImage& labelled = window.Compose();
    int inked = 0;
    for (int y = 100; y < 130; ++y)
        for (int x = 100; x < 200; ++x) inked += qAlpha(labelled.pixel(x, y)) > 0;
    EXPECT_GT(inked, 10);
}

}  // namespace
