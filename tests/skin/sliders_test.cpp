// Slider arithmetic: clamping, track clicks, drags, arrows and step buttons.
#include <gtest/gtest.h>

#include <cmath>

#include "skin/super_sliders.h"
#include "skin_fixture.h"
#include "skin_window.h"

namespace {

constexpr int L = 20, T = 60;  // the slider's top-left
constexpr UINT kId = 4000;
constexpr WPARAM kChanged = MAKEWPARAM(kId, NOTIFY_VALUE_CHANGED);

class Sliders : public SkinTest {
  protected:
    void SetUp() override {
        SkinTest::SetUp();
        window.resize(400, 200);
        slider.SetThumbImage("ImageRes/thumb.png");
        slider.Create(&window, kId, RECT{L, T, L + 280, T + 50}, {}, "ImageRes/fill.png");
    }
    // Pointer x for a distance along the track.
    static int along(int pixels) { return L + 13 + pixels; }
    // Presses on the thumb where it was last drawn, ready to drag.
    void grabThumb() {
        window.Compose();
        // Right of the left arrow, which overlaps the thumb at the minimum.
        const int x = slider.ThumbRect().left + 4, y = slider.ThumbRect().top + 2;
        window.pointAt(x, y);
        window.press(x, y);
    }

    SkinTestWindow window;
    CSuperSlidersStepping slider;
};

TEST_F(Sliders, SetPosClampsToTheBoundsAndRelabels) {
    slider.SetRange(-50, 150);
    slider.SetPos(-80);
    EXPECT_EQ(slider.GetPos(), -50.0f);
    slider.SetPos(150);
    EXPECT_EQ(slider.GetPos(), 150.0f);
    slider.SetPos(1e9f);
    EXPECT_EQ(slider.GetPos(), 150.0f);
    slider.SetPos(NAN);
    EXPECT_EQ(slider.GetPos(), -50.0f);
    slider.SetPos(-12.75f);
    EXPECT_EQ(slider.ValueText(), "-12") << "the label truncates toward zero";
    EXPECT_TRUE(window.takeCommands().empty()) << "programmatic changes post nothing";
}

TEST_F(Sliders, StepOneTrackClickJumpsToThePointer) {
    window.click(along(120), T + 18);
    // 120 / 241 of the range 0..100, truncated.
    EXPECT_EQ(slider.GetPos(), 49.0f);
    EXPECT_EQ(slider.ValueText(), "49");
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{kChanged, kId}));
}

TEST_F(Sliders, LargerStepsMoveOneStepTowardTheClick) {
    slider.SetRange(0, 12);
    slider.SetStep(5);
    slider.SetPos(4);
    window.Compose();
    window.click(along(230), T + 18);
    EXPECT_EQ(slider.GetPos(), 9.0f);
    window.Compose();
    window.click(along(240), T + 18);
    EXPECT_EQ(slider.GetPos(), 12.0f) << "clamped at the maximum";
    window.Compose();
    window.click(along(3), T + 18);  // the left arrow reaches over the track's first pixels
    EXPECT_EQ(slider.GetPos(), 7.0f);
}

TEST_F(Sliders, DraggingWithStepFiveGivesOnlyWholeStepsFromTheMinimum) {
    slider.SetRange(-500, 1000);
    slider.SetStep(5);
    slider.SetPos(-500);
    grabThumb();
    ASSERT_TRUE(slider.IsDragging());
    for (int px = 0; px <= 245; ++px) {
        window.pointAt(along(px), T + 18);
        const float v = slider.GetPos();
        ASSERT_EQ(std::fmod(v + 500.0f, 5.0f), 0.0f) << "at " << px << ": " << v;
    }
    EXPECT_EQ(slider.GetPos(), 1000.0f);
    window.pointAt(along(120), T + 18);
    // 120 px at 241 * 5 / 1500 px per step is 149 whole steps.
    EXPECT_EQ(slider.GetPos(), 245.0f);
    window.release(along(120), T + 18);
    EXPECT_FALSE(slider.IsDragging());
    for (WPARAM command : window.takeCommands()) ASSERT_TRUE(command == kChanged || command == kId);
}

TEST_F(Sliders, DragFreezesOutsideTheSliderAndAnyReleaseEndsIt) {
    slider.SetPos(0);
    grabThumb();
    window.pointAt(along(100), T + 18);
    const float held = slider.GetPos();
    window.pointAt(along(100), T + 120);  // below the slider
    window.pointAt(along(200), T + 120);
    EXPECT_EQ(slider.GetPos(), held);
    window.pointAt(along(200), T + 18);  // back in: the entering move does not drag
    window.pointAt(along(201), T + 18);
    EXPECT_GT(slider.GetPos(), held);
    window.release(along(201), T + 120);
    EXPECT_FALSE(slider.IsDragging());
    const float released = slider.GetPos();
    window.pointAt(along(10), T + 18);
    window.pointAt(along(11), T + 18);
    EXPECT_EQ(slider.GetPos(), released);
}

TEST_F(Sliders, ArrowsMoveByTheStepAndStepButtonsByTheirOwnAmount) {
    slider.SetStep(2);
    slider.SetPos(50);
    struct Press {
        int x, y;
        float expected;
        UINT id;
    } presses[] = {
        {L + 5, T + 18, 48, 3500},    // left arrow: one step
        {L + 265, T + 18, 50, 3501},  // right arrow
        {L + 20, T + 35, 45, 3506},   // -5
        {L + 45, T + 35, 35, 3507},   // -10
        {L + 230, T + 35, 45, 3504},  // +10
        {L + 250, T + 35, 50, 3503},  // +5
    };
    for (const Press& p : presses) {
        window.click(p.x, p.y);
        EXPECT_EQ(slider.GetPos(), p.expected) << p.id;
        // The part lies inside the slider, which hears the click first.
        EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{kId, p.id, kChanged})) << p.id;
        window.pointAt(0, 0);
    }
    slider.SetPos(97);
    window.click(L + 230, T + 35);
    EXPECT_EQ(slider.GetPos(), 100.0f);
    slider.SetPos(3);
    window.pointAt(0, 0);
    window.click(L + 45, T + 35);
    EXPECT_EQ(slider.GetPos(), 0.0f);
}

TEST_F(Sliders, DisabledSliderIgnoresTheUserButNotSetPos) {
    slider.SetPos(40);
    slider.Enable(false);
    window.click(along(200), T + 18);
    window.click(L + 5, T + 18);
    window.click(L + 250, T + 35);
    grabThumb();
    window.pointAt(along(150), T + 18);
    EXPECT_EQ(slider.GetPos(), 40.0f);
    EXPECT_TRUE(window.takeCommands().empty());
    slider.SetPos(70);
    EXPECT_EQ(slider.GetPos(), 70.0f);
    EXPECT_EQ(slider.ValueText(), "70");
}

TEST_F(Sliders, FillAndThumbFollowTheValue) {
    writeStrip("ImageRes/fill.png", 241, 9, {0xFFFF0000});
    writeStrip("ImageRes/thumb.png", 9, 15, {0xFF00FF00});
    slider.SetPos(50);
    const QImage& image = window.Compose();
    const int fill = 120;  // 50 % of 241, truncated
    EXPECT_EQ(image.pixel(along(0), T + 18), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(along(fill - 1), T + 18), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(along(fill + 4), T + 12), 0xFF00FF00u);
    EXPECT_EQ(qAlpha(image.pixel(along(fill + 20), T + 18)), 0);
    EXPECT_EQ(slider.ThumbRect().left, along(fill));
}

TEST_F(Sliders, EmptyRangeNeitherDividesByZeroNorMoves) {
    slider.SetRange(10, 10);
    slider.SetStep(5);
    slider.SetPos(10);
    window.Compose();
    grabThumb();
    window.pointAt(along(100), T + 18);
    EXPECT_EQ(slider.GetPos(), 10.0f);
}

}  // namespace
