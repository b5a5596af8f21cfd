// The bar gauge, the animation and the drawn drop-down list.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "../support/contrast.h"
#include "skin/animation.h"
#include "skin/menu_list.h"
#include "skin/progressbar.h"
#include "skin/static_ex.h"
#include "skin_fixture.h"
#include "skin_window.h"

namespace {

using Gauges = SkinTest;

TEST_F(Gauges, ScaleLabelsAreQuartersOfTheRangeTruncated) {
    CProgressbar bar;
    bar.SetRange(4000);
    EXPECT_EQ(bar.ScaleTexts(), (std::array<QString, 5>{"0", "1000", "2000", "3000", "4000"}));
    bar.SetRange(2500);
    EXPECT_EQ(bar.ScaleTexts(), (std::array<QString, 5>{"0", "625", "1250", "1875", "2500"}));
    bar.SetRange(99);
    EXPECT_EQ(bar.ScaleTexts(), (std::array<QString, 5>{"0", "24", "49", "74", "99"}));
    EXPECT_EQ(bar.Min(), 0);
}

TEST_F(Gauges, BarGrowsUpFromTheBottomEdge) {
    SkinTestWindow window;
    CProgressbar bar;
    bar.Create(&window, 1, RECT{50, 50, 70, 150});
    bar.SetRange(100);
    auto barAt = [&](int y) { return qAlpha(window.Compose().pixel(60, y)) != 0; };

    bar.SetPos(0);
    EXPECT_FALSE(barAt(149));
    bar.SetPos(30);
    EXPECT_TRUE(barAt(149));
    EXPECT_TRUE(barAt(120));
    EXPECT_FALSE(barAt(100));
    bar.SetPos(150);
    EXPECT_TRUE(barAt(60));
    EXPECT_TRUE(barAt(20)) << "a value above the range draws past the top";
}

TEST_F(Gauges, AnimationCyclesThroughItsFramesOnTimer500) {
    writeStrip("ImageRes/eye.png", 10, 10, {0xFF110000, 0xFF002200, 0xFF000033});
    SkinTestWindow window;
    CAnimation eye;
    eye.Create(&window, 77, RECT{0, 0, 10, 10}, {}, "ImageRes/eye.png");
    EXPECT_EQ(window.TimerPeriod(CAnimation::kTimerId), 500u);
    EXPECT_EQ(eye.FrameCount(), 2);

    std::vector<QRgb> shown;
    for (int i = 0; i < 4; ++i) {
        shown.push_back(window.Compose().pixel(5, 5));
        window.tick(CAnimation::kTimerId);
    }
    EXPECT_EQ(shown, (std::vector<QRgb>{0xFF110000, 0xFF002200, 0xFF110000, 0xFF002200}));

    eye.SetFrameCount(3);
    eye.SetFrame(0);
    shown.clear();
    for (int i = 0; i < 4; ++i) {
        window.tick(CAnimation::kTimerId);
        shown.push_back(window.Compose().pixel(5, 5));
    }
    EXPECT_EQ(shown, (std::vector<QRgb>{0xFF002200, 0xFF000033, 0xFF110000, 0xFF002200}));
    const auto tick = MAKEWPARAM(77, NOTIFY_TIMER_TICK);
    EXPECT_EQ(window.takeCommands(), std::vector<WPARAM>(8, tick));
}

TEST_F(Gauges, CaptionBarIsRedWithWhiteTextInsetFromTheLeft) {
    CStaticEx caption("Fan");
    caption.resize(120, 20);
    const QImage image = caption.grab().toImage();
    EXPECT_EQ(image.pixel(1, 1), qRgb(192, 0, 0));
    int whiteLeftOfInset = 0, white = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool isWhite = qGray(image.pixel(x, y)) > 200;
            white += isWhite;
            whiteLeftOfInset += isWhite && x < 5;
        }
    }
    EXPECT_GT(white, 5);
    EXPECT_EQ(whiteLeftOfInset, 0);
}

class DropDown : public SkinTest {
  protected:
    static constexpr RECT kHead{20, 20, 180, 40};
    void clickHead() { window.click(100, 30); }
    // Clicks entry k (1-based) of the open drop-down.
    void clickEntry(int k) {
        const RECT& r = list.Entries().at(size_t(k - 1))->Rect();
        window.click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::vector<QString> entryTexts() const {
        std::vector<QString> texts;
        for (const CMenuItem* item : list.Entries()) texts.push_back(item->Text());
        return texts;
    }

    SkinTestWindow window;
    CMenuList list;
};

TEST_F(DropDown, ChoosingAnEntrySwapsItWithTheCurrentOne) {
    list.Create({"A", "B", "C"}, &window, kHead);
    EXPECT_EQ(list.Head().Text(), "A");
    clickHead();
    ASSERT_EQ(list.Entries().size(), 2u);
    EXPECT_EQ(entryTexts(), (std::vector<QString>{"B", "C"}));
    EXPECT_EQ(list.Entries()[0]->ID(), 3101u);
    EXPECT_EQ(list.Entries()[1]->Rect().top, 60) << "entries stack one head height each";
    EXPECT_EQ(list.Entries()[1]->Rect().left, 37);
    // The list shares the head's rectangle, so the owner hears the list's own click too.
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{CMenuList::kListId, 3100}));

    clickEntry(2);
    EXPECT_EQ(list.CurSel(), 2);
    EXPECT_EQ(list.Head().Text(), "C");
    EXPECT_EQ(entryTexts(), (std::vector<QString>{"B", "A"}));
    EXPECT_TRUE(list.IsCollapsed());
    EXPECT_FALSE(list.Entries()[0]->IsShown());
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{3102, CMenuList::kListId}));

    clickHead();
    EXPECT_FALSE(list.IsCollapsed());
    EXPECT_TRUE(list.Entries()[1]->IsShown());
    clickEntry(2);  // A again
    EXPECT_EQ(list.CurSel(), 0);
    EXPECT_EQ(list.Head().Text(), "A");
    EXPECT_EQ(entryTexts(), (std::vector<QString>{"B", "C"}));
    clickHead();
    clickHead();
    EXPECT_TRUE(list.IsCollapsed()) << "the head toggles the open list shut";
}

TEST_F(DropDown, AnotherCurrentEntryStandsInTheHeadAndTheOthersFollowInListOrder) {
    list.Create({"A", "B", "C"}, &window, kHead, 2);
    EXPECT_EQ(list.Head().Text(), "C");
    clickHead();
    EXPECT_EQ(entryTexts(), (std::vector<QString>{"A", "B"}));
    clickEntry(1);
    EXPECT_EQ(list.CurSel(), 0);
    EXPECT_EQ(list.Head().Text(), "A");
    EXPECT_EQ(entryTexts(), (std::vector<QString>{"C", "B"}));
}

TEST_F(DropDown, AHoveredOrPressedEntrysTextStandsOutFromItsHighlight) {
    list.Create({"A", "WWW", "MMM", "HHH"}, &window, kHead);
    clickHead();
    const auto contrast = [this](const RECT& r) {
        const QImage& image = window.Compose();
        const QRgb behind = image.pixel(r.left + 1, r.top + 1);
        double best = 1;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                best = std::max(best, testsupport::contrastRatio(image.pixel(x, y), behind));
        return best;
    };
    for (const CMenuItem* item : list.Entries()) {
        const RECT& r = item->Rect();
        window.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        ASSERT_TRUE(item->IsHover());
        EXPECT_GE(contrast(r), 4.5) << "hovered " << item->Text().toStdString();
    }
    // Held down, at the top of the gradient and at its dark end.
    for (const CMenuItem* item : {list.Entries().front(), list.Entries().back()}) {
        const RECT r = item->Rect();
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        window.SendMessage(WM_MOUSEMOVE, 0, at);
        window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        ASSERT_TRUE(item->IsPressed());
        EXPECT_GE(contrast(r), 4.5) << "pressed " << item->Text().toStdString();
        window.SendMessage(WM_LBUTTONUP, 0, at);
        clickHead();  // the choice closed the list
    }
}

TEST_F(DropDown, OneEntryListOnlyHasItsHead) {
    list.Create({"Only"}, &window, kHead);
    clickHead();
    clickHead();
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{3010, 3100, 3010, 3100}));
    EXPECT_EQ(list.CurSel(), 0);
}

TEST_F(DropDown, OpenListPaintsItsGradientUnderTheHeadAndHidesItWhenShut) {
    list.Create({"A", "B", "C"}, &window, kHead);
    auto paintedBelowHead = [&] { return qAlpha(window.Compose().pixel(40, 75)) != 0; };
    EXPECT_FALSE(paintedBelowHead());
    clickHead();
    EXPECT_TRUE(paintedBelowHead());
    clickHead();
    EXPECT_FALSE(paintedBelowHead());
}

// The highlight is drawn as the pointer's is; Escape never reaches the window
// (which would close a panel) while the list is open.
TEST_F(DropDown, UpAndDownMoveTheHighlightEnterChoosesItEscapeClosesUnchanged) {
    list.Create({"A", "B", "C", "D"}, &window, kHead);
    const auto key = [this](int qtKey) {
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &press);
    };
    // A pixel inside each entry, where the highlight would be and the text is not.
    const auto corners = [this] {
        std::vector<QRgb> pixels;
        for (const CMenuItem* item : list.Entries())
            pixels.push_back(window.Compose().pixel(item->Rect().left + 1, item->Rect().top + 1));
        return pixels;
    };
    key(Qt::Key_Tab);
    ASSERT_EQ(window.FocusedControl(), &list);
    key(Qt::Key_Down);
    EXPECT_TRUE(list.Entries().empty()) << "a shut list ignores the arrows";
    key(Qt::Key_Return);
    ASSERT_TRUE(list.IsOpen());
    window.takeCommands();
    EXPECT_EQ(list.HighlightedRow(), -1);
    const std::vector<QRgb> unlit = corners();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(list.HighlightedRow(), 2) << "the last entry holds";
    key(Qt::Key_Up);
    EXPECT_EQ(list.HighlightedRow(), 1);
    const std::vector<QRgb> now = corners();
    EXPECT_NE(now[1], unlit[1]);
    EXPECT_EQ(now[0], unlit[0]);
    EXPECT_EQ(now[2], unlit[2]) << "the highlight left the entry it moved from";
    key(Qt::Key_Return);
    EXPECT_FALSE(list.IsOpen());
    EXPECT_EQ(list.CurSel(), 2);
    EXPECT_EQ(list.Head().Text(), "C");
    EXPECT_EQ(entryTexts(), (std::vector<QString>{"B", "A", "D"}));
    EXPECT_EQ(window.takeCommands(), (std::vector<WPARAM>{CMenuList::kListId}));

    key(Qt::Key_Space);  // opens again, without a highlight
    EXPECT_TRUE(list.IsOpen());
    EXPECT_EQ(list.HighlightedRow(), -1);
    window.takeCommands();
    key(Qt::Key_Up);
    EXPECT_EQ(list.HighlightedRow(), 2) << "Up starts at the bottom";
    key(Qt::Key_Escape);
    EXPECT_FALSE(list.IsOpen());
    EXPECT_EQ(list.CurSel(), 2);
    EXPECT_TRUE(window.takeCommands().empty());

    // Opened by the pointer, without the focus: the keys still reach the list,
    // and the highlight starts below the entry under the pointer.
    SkinTestWindow other;
    CMenuList pointed;
    pointed.Create({"A", "B", "C"}, &other, kHead);
    other.click(100, 30);
    const RECT& b = pointed.Entries()[0]->Rect();
    other.pointAt((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&other, &down);
    EXPECT_EQ(pointed.HighlightedRow(), 1);
    EXPECT_FALSE(pointed.Entries()[0]->IsHover()) << "one entry stands out";
    other.takeCommands();
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QCoreApplication::sendEvent(&other, &space);
    EXPECT_EQ(pointed.CurSel(), 2);
    EXPECT_EQ(other.takeCommands(), (std::vector<WPARAM>{CMenuList::kListId}));
}

}  // namespace
