// A skinned window from the keyboard: the focus order, presses, slider steps,
// the focus mark, and what its controls tell assistive technology.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "skin/button_ex.h"
#include "skin/static_text.h"
#include "skin/super_sliders.h"
#include "skin_fixture.h"
#include "skin_window.h"
#include "support/spin_until.h"

using platform::AccessibleRole;

namespace {

constexpr UINT kFirst = 4001, kOff = 4002, kHidden = 4003, kCheck = 4004, kSlider = 4005;

class Keyboard : public SkinTest {
  protected:
    void SetUp() override {
        SkinTest::SetUp();
        window.resize(400, 200);
        first.Create(&window, kFirst, RECT{10, 10, 60, 30}, QStringLiteral("First"));
        off.Create(&window, kOff, RECT{70, 10, 120, 30}, QStringLiteral("Off"));
        off.Enable(false);
        hidden.Create(&window, kHidden, RECT{130, 10, 180, 30}, QStringLiteral("Hidden"));
        hidden.ShowControl(SW_HIDE);
        label.Create(&window, 0, RECT{190, 10, 240, 30}, QStringLiteral("Label"));
        check.Create(&window, kCheck, RECT{250, 10, 300, 30});
        check.SetAccessibleName(QStringLiteral("Check"));
        slider.Create(&window, kSlider, RECT{20, 100, 300, 150});
        slider.SetTitle(QStringLiteral("Offset,MHz"));
        slider.SetRange(-20, 40);
        slider.SetStep(2);
        window.takeCommands();
    }
    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
        QCoreApplication::sendEvent(&window, &press);
    }
    int indexOf(const CControls& control) const {
        const auto& all = window.Controls();
        return int(std::find(all.begin(), all.end(), &control) - all.begin());
    }

    SkinTestWindow window;
    CButtonEx first, off, hidden;
    CStaticText label;
    CCheckButtonEx check;
    CSuperSliders slider;
};

TEST_F(Keyboard, TabVisitsShownEnabledControlsInCreationOrderBothWays) {
    EXPECT_EQ(window.FocusedControl(), nullptr);
    std::vector<CControls*> visited;
    for (int i = 0; i < 4; ++i) {
        key(Qt::Key_Tab);
        visited.push_back(window.FocusedControl());
    }
    // Disabled, hidden, a label and the slider's own arrows are passed over; the end wraps.
    EXPECT_EQ(visited, (std::vector<CControls*>{&first, &check, &slider, &first}));
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window.FocusedControl(), &slider);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window.FocusedControl(), &check);
    EXPECT_TRUE(window.takeCommands().empty()) << "moving the focus presses nothing";
}

TEST_F(Keyboard, SpaceAndEnterPressTheFocusedControlOnly) {
    key(Qt::Key_Return);
    key(Qt::Key_Space);
    EXPECT_TRUE(window.takeCommands().empty()) << "without a focused control Enter does nothing";
    EXPECT_TRUE(window.isHidden() || !window.IsDestroyed());

    key(Qt::Key_Tab);
    key(Qt::Key_Space);
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{MAKEWPARAM(kFirst, NOTIFY_CLICK)}));
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    EXPECT_TRUE(check.GetCheck());
    key(Qt::Key_Enter);
    EXPECT_FALSE(check.GetCheck());
    EXPECT_EQ(window.takeCommands().size(), 2u);
    // A press from the keyboard leaves no pointer press behind: the background still drags.
    EXPECT_TRUE(window.BackgroundDownAllowed());
    EXPECT_FALSE(window.HasCapture());
}

TEST_F(Keyboard, ArrowsMoveTheFocusedSliderByItsStepAndPagesByTen) {
    slider.SetPos(0);
    key(Qt::Key_Right);
    EXPECT_EQ(slider.GetPos(), 0.0f) << "arrows do nothing to an unfocused slider";
    for (int i = 0; i < 3; ++i) key(Qt::Key_Tab);
    ASSERT_EQ(window.FocusedControl(), &slider);
    key(Qt::Key_Right);
    EXPECT_EQ(slider.GetPos(), 2.0f);
    key(Qt::Key_Down);
    key(Qt::Key_Left);
    EXPECT_EQ(slider.GetPos(), -2.0f);
    key(Qt::Key_PageUp);
    EXPECT_EQ(slider.GetPos(), 18.0f);
    key(Qt::Key_PageUp);
    key(Qt::Key_PageUp);
    EXPECT_EQ(slider.GetPos(), 40.0f) << "clamped to the range";
    key(Qt::Key_Up);
    const std::vector<WPARAM> changed(6, MAKEWPARAM(kSlider, NOTIFY_VALUE_CHANGED));
    EXPECT_EQ(window.takeCommands(), changed) << "one notification per change, none at the bound";
    key(Qt::Key_PageDown);
    EXPECT_EQ(slider.GetPos(), 20.0f);
}

TEST_F(Keyboard, TheFocusMarkFollowsTheFocusInEveryPaint) {
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0; }));
    const QImage unfocused = window.ComposeCopy();
    const QRect firstBox(10, 10, 50, 20), checkBox(250, 10, 50, 20);
    key(Qt::Key_Tab);
    EXPECT_NE(window.Surface().copy(firstBox), unfocused.copy(firstBox)) << "no mark on the focused control";
    EXPECT_EQ(window.Surface(), window.ComposeCopy());
    key(Qt::Key_Tab);
    // The paint after the move composes only what changed, with the same pixels as a whole one.
    EXPECT_EQ(window.Surface().copy(firstBox), unfocused.copy(firstBox)) << "the old mark stayed";
    EXPECT_NE(window.Surface().copy(checkBox), unfocused.copy(checkBox));
    EXPECT_EQ(window.Surface(), window.ComposeCopy());
}

TEST_F(Keyboard, TheFocusMarkLeavesWithTheActivationAndComesBackWithIt) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0 && window.isActiveWindow(); }));
    const QRect firstBox(10, 10, 50, 20);
    const QImage unfocused = window.ComposeCopy().copy(firstBox);
    key(Qt::Key_Tab);
    const QImage marked = window.Surface().copy(firstBox);
    ASSERT_NE(marked, unfocused);

    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(spinUntil([&] { return !window.isActiveWindow(); }));
    EXPECT_EQ(window.Surface().copy(firstBox), unfocused) << "the mark stayed in an inactive window";
    EXPECT_EQ(window.FocusedControl(), &first) << "the focus itself stays";

    window.activateWindow();
    ASSERT_TRUE(spinUntil([&] { return window.isActiveWindow(); }));
    EXPECT_EQ(window.Surface().copy(firstBox), marked);
    EXPECT_EQ(window.Surface(), window.ComposeCopy());
}

TEST_F(Keyboard, ControlsTellRoleNameValueAndTakeActions) {
    const auto item = [&](const CControls& c) { return window.AccessibleItemAt(indexOf(c)); };
    EXPECT_EQ(item(first).role, AccessibleRole::Button);
    EXPECT_EQ(item(first).name, "First");
    EXPECT_FALSE(item(off).enabled);
    EXPECT_FALSE(item(hidden).shown);
    EXPECT_EQ(item(check).role, AccessibleRole::CheckButton);
    EXPECT_EQ(item(check).name, "Check");
    EXPECT_EQ(item(slider.LeftArrow()).role, AccessibleRole::None) << "the slider presents its arrows";
    slider.SetPos(6);
    const platform::AccessibleItem s = item(slider);
    EXPECT_EQ(s.role, AccessibleRole::Slider);
    EXPECT_EQ(s.name, "Offset,MHz");
    EXPECT_EQ(s.value, "6");
    EXPECT_EQ(s.minimum, -20.0);
    EXPECT_EQ(s.maximum, 40.0);
    EXPECT_EQ(s.step, 2.0);

    EXPECT_TRUE(window.PressAccessibleItem(indexOf(first)));
    EXPECT_FALSE(window.PressAccessibleItem(indexOf(off)));
    EXPECT_FALSE(window.PressAccessibleItem(indexOf(label)));
    EXPECT_FALSE(window.PressAccessibleItem(int(window.Controls().size()) + 3));
    EXPECT_TRUE(window.SetAccessibleItemValue(indexOf(slider), 99));
    EXPECT_EQ(slider.GetPos(), 40.0f);
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{MAKEWPARAM(kFirst, NOTIFY_CLICK),
                                                          MAKEWPARAM(kSlider, NOTIFY_VALUE_CHANGED)}));
    EXPECT_TRUE(window.FocusAccessibleItem(indexOf(check)));
    EXPECT_TRUE(item(check).focused);
    EXPECT_FALSE(window.FocusAccessibleItem(indexOf(hidden)));
}

}  // namespace
