// Push buttons' frames, check boxes and radio groups.
#include <gtest/gtest.h>

#include "skin/button_ex.h"
#include "skin_fixture.h"
#include "skin_window.h"
#include "support/spin_until.h"

namespace {

constexpr QRgb kNormal = 0xFF202020, kHover = 0xFF00FF00, kThird = 0xFFFF0000;

class Buttons : public SkinTest {
  protected:
    void SetUp() override {
        SkinTest::SetUp();
        writeStrip("ImageRes/button.png", 40, 20, {kNormal, kHover, kThird});
    }
    // The frame a button at `left` shows now.
    QRgb frameAt(int left) { return window.Compose().pixel(left + 5, 15); }

    SkinTestWindow window;
};

RECT boxAt(int left) {
    return RECT{left, 10, left + 40, 30};
}

TEST_F(Buttons, PushButtonFramesFollowHoverAndPress) {
    CButtonEx button;
    button.Create(&window, 11, boxAt(10), {}, "ImageRes/button.png");
    EXPECT_EQ(frameAt(10), kNormal);
    window.pointAt(15, 15);
    EXPECT_EQ(frameAt(10), kHover);
    window.press(15, 15);
    EXPECT_EQ(frameAt(10), kThird);
    window.release(15, 15);
    EXPECT_EQ(frameAt(10), kNormal) << "after a click the button looks normal until the pointer re-enters";
    EXPECT_EQ(window.takeCommands(), std::vector<WPARAM>{11});
}

TEST_F(Buttons, DisabledButtonKeepsItsFrameAndPostsNothing) {
    CButtonEx button;
    button.Create(&window, 11, boxAt(10), {}, "ImageRes/button.png");
    window.pointAt(15, 15);
    button.Enable(false);
    window.click(15, 15);
    window.pointAt(200, 150);
    EXPECT_EQ(frameAt(10), kHover);
    EXPECT_TRUE(window.takeCommands().empty());
}

TEST_F(Buttons, CheckBoxTogglesOnEveryClickAndOnReleaseOutside) {
    CCheckButtonEx box;
    box.Create(&window, 12, boxAt(10), {}, "ImageRes/button.png");
    window.click(15, 15);
    EXPECT_TRUE(box.GetCheck());
    window.click(15, 15);
    EXPECT_FALSE(box.GetCheck());
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{12, 12}));

    // The state follows every release after a press on it; only a release inside posts.
    window.press(15, 15);
    window.pointAt(200, 150);
    window.release(200, 150);
    EXPECT_TRUE(box.GetCheck());
    EXPECT_TRUE(window.takeCommands().empty());

    box.SetCheck(false);
    EXPECT_FALSE(box.GetCheck());
    EXPECT_EQ(frameAt(10), kNormal);
    box.SetCheck(true);
    EXPECT_EQ(frameAt(10), kThird);
}

// A choice set by code reaches the screen without anyone asking for a repaint.
TEST_F(Buttons, AChangedChoiceIsRepaintedOnItsOwn) {
    CCheckButtonEx on, off;
    on.Create(&window, 12, boxAt(10), {}, "ImageRes/button.png");
    off.Create(&window, 13, boxAt(60), {}, "ImageRes/button.png");
    MakeRadioGroup({&on, &off});
    off.SetCheck(true);
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0; }));
    QCoreApplication::processEvents();
    ASSERT_EQ(window.surface().pixel(15, 15), kNormal);
    on.SetCheck(true);
    EXPECT_TRUE(spinUntil([&] { return window.surface().pixel(15, 15) == kThird; }));
    EXPECT_TRUE(spinUntil([&] { return window.surface().pixel(65, 15) == kNormal; }));
}

TEST_F(Buttons, RadioGroupKeepsExactlyOneMemberChecked) {
    CCheckButtonEx a, b, c;
    a.Create(&window, 1, boxAt(10), {}, "ImageRes/button.png");
    b.Create(&window, 2, boxAt(60), {}, "ImageRes/button.png");
    c.Create(&window, 3, boxAt(110), {}, "ImageRes/button.png");
    MakeRadioGroup({&a, &b, &c});
    a.SetCheck(true);

    window.click(65, 15);
    EXPECT_FALSE(a.GetCheck());
    EXPECT_TRUE(b.GetCheck());
    EXPECT_FALSE(c.GetCheck());

    // Clicking the checked member changes nothing but still posts.
    window.click(65, 15);
    EXPECT_TRUE(b.GetCheck());
    EXPECT_FALSE(a.GetCheck() || c.GetCheck());
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{2, 2}));

    b.SetCheck(false);
    EXPECT_TRUE(b.GetCheck()) << "the only checked member cannot be unchecked";
    c.SetCheck(true);
    EXPECT_FALSE(a.GetCheck() || b.GetCheck());
    EXPECT_TRUE(c.GetCheck());
}

TEST_F(Buttons, NoHoverShowsTheCheckStateUnderThePointer) {
    CCheckButtonEx plain, noHover;
    plain.Create(&window, 1, boxAt(10), {}, "ImageRes/button.png");
    noHover.Create(&window, 2, boxAt(60), {}, "ImageRes/button.png");
    noHover.SetNoHover(true);
    noHover.SetCheck(true);
    plain.SetCheck(true);

    window.pointAt(15, 15);
    EXPECT_EQ(frameAt(10), kHover) << "hover shows in either state";
    window.pointAt(65, 15);
    EXPECT_EQ(frameAt(60), kThird);
    noHover.SetCheck(false);
    EXPECT_EQ(frameAt(60), kNormal);
}

}  // namespace
