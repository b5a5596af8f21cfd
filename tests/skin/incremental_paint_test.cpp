// A skinned window composes only what changed; whatever happens, the picture it
// shows is the one a composition of the whole window gives. Also the kept text
// rasters that make unchanged labels cheap.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QScreen>
#include <random>

#include "skin/animation.h"
#include "skin/button_ex.h"
#include "skin/menu_list.h"
#include "skin/paint_recorder.h"
#include "skin/picture_cache.h"
#include "skin/progressbar.h"
#include "skin/static_text.h"
#include "skin/super_sliders.h"
#include "skin/text_cache.h"
#include "skin_fixture.h"
#include "skin_window.h"
#include "support/spin_until.h"

namespace {

// A strip of `frames` frames, each w x h, in a pattern that differs per pixel,
// per frame and in alpha, so a pixel taken from the wrong place shows.
void writePatternStrip(const std::filesystem::path& file, int w, int h, int frames, int seed) {
    QImage image(w * frames, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * frames; ++x) {
            const int a = (x * 7 + y * 3 + seed) % 4 == 0 ? 0 : 120 + (x + y + seed) % 136;
            image.setPixel(x, y, qRgba((x * 5 + seed) % 256, (y * 9 + seed) % 256, (x * y + seed) % 256, a));
        }
    std::filesystem::create_directories(file.parent_path());
    image.save(QString::fromStdString(file.string()), "PNG");
}

// As writePatternStrip, but the frames differ only inside `moving` (frame
// coordinates): outside it every frame has the pixels of the first.
void writeStripMovingIn(const std::filesystem::path& file, int w, int h, int frames, const QRect& moving) {
    writePatternStrip(file, w, h, frames, 2);
    QImage image(QString::fromStdString(file.string()));
    for (int f = 1; f < frames; ++f)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!moving.contains(x, y)) image.setPixel(f * w + x, y, image.pixel(x, y));
    image.save(QString::fromStdString(file.string()), "PNG");
}

// A six-frame eye in the middle and a gauge of range 100 with its scale on the left.
void createEyeAndGauge(SkinTestWindow& window, CAnimation& eye, CProgressbar& gauge) {
    eye.Create(&window, 1, RECT{100, 60, 160, 120}, {}, QStringLiteral("ImageRes/eye.png"));
    eye.SetFrameCount(6);
    gauge.Create(&window, 2, RECT{20, 30, 30, 180});
    gauge.SetRange(100);
    gauge.SetScaleRects({QRectF(32, 170, 30, 10), QRectF(32, 132, 30, 10), QRectF(32, 95, 30, 10),
                         QRectF(32, 57, 30, 10), QRectF(32, 20, 30, 10)});
}

class IncrementalPaint : public SkinTest, public ::testing::WithParamInterface<bool> {};

// Every paint also draws every control into the recorder, to check what the
// controls say of their own drawing.
struct DrawStateCheck {
    DrawStateCheck() { CDialogBase::SetDrawStateCheck(true); }
    ~DrawStateCheck() { CDialogBase::SetDrawStateCheck(false); }
};

// covering: the background fills the window; otherwise a smaller translucent one.
TEST_P(IncrementalPaint, RandomChangesLeaveThePictureOfAWholeComposition) {
    const bool covering = GetParam();
    writePatternStrip("ImageRes/bg.png", covering ? 300 : 220, covering ? 200 : 150, 1, 1);
    // An eye whose frames differ everywhere, and one that moves only inside.
    if (covering)
        writeStripMovingIn("ImageRes/eye.png", 60, 60, 6, QRect(8, 12, 40, 30));
    else
        writePatternStrip("ImageRes/eye.png", 60, 60, 6, 2);
    writePatternStrip("ImageRes/button.png", 50, 24, 3, 3);
    writePatternStrip("ImageRes/check.png", 40, 20, 3, 4);
    writePatternStrip("ImageRes/bar.png", 241, 9, 1, 5);
    writePatternStrip("ImageRes/thumb.png", 9, 15, 1, 6);
    writePatternStrip("ImageRes/lockset_arrowleft.png", 12, 12, 3, 7);
    writePatternStrip("ImageRes/lockset_arrowright.png", 12, 12, 3, 8);
    writePatternStrip("ImageRes/gpuinfo_tessaril.png", 100, 16, 3, 9);

    SkinTestWindow window(QStringLiteral("ImageRes/bg.png"));
    window.resize(300, 200);
    CAnimation eye;
    CProgressbar gauge;
    createEyeAndGauge(window, eye, gauge);
    CButtonEx button;
    button.Create(&window, 3, RECT{170, 10, 220, 34}, QStringLiteral("Go"),
                  QStringLiteral("ImageRes/button.png"));
    CCheckButtonEx check;
    check.Create(&window, 4, RECT{230, 10, 270, 30}, QStringLiteral("On"),
                 QStringLiteral("ImageRes/check.png"));
    CStaticText label;  // overlaps the eye, drawn over it
    label.SetFontSize(9);
    label.Create(&window, 5, RECT{120, 100, 200, 130}, QStringLiteral("1006 MHz"));
    CSuperSliders slider;
    slider.SetThumbImage(QStringLiteral("ImageRes/thumb.png"));
    slider.Create(&window, 6, RECT{10, 150, 290, 180}, {}, QStringLiteral("ImageRes/bar.png"));
    slider.SetRange(0, 50);
    CMenuList menu;
    menu.Create({QStringLiteral("GPU 0"), QStringLiteral("GPU 1"), QStringLiteral("GPU 2")}, &window,
                RECT{170, 40, 270, 56});

    const DrawStateCheck recorderCheck;
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0; }));

    std::mt19937 random(covering ? 11 : 12);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    CControls* hideable[] = {&button, &label, &eye, &gauge, &check};
    const RECT centres[] = {
        button.Rect(),   check.Rect(), menu.Rect(), slider.LeftArrow().Rect(), slider.RightArrow().Rect(),
        RECT{5, 5, 6, 6}};
    for (int step = 0; step < 300; ++step) {
        std::string what;
        switch (pick(10)) {
            case 0:
                window.tick(CAnimation::kTimerId);
                what = "eye frame";
                break;
            case 1:
                gauge.SetPos(pick(130) - 10);
                what = "gauge value";
                break;
            case 2:
                gauge.SetRange(50 + pick(200));
                what = "gauge range";
                break;
            case 3: {
                const RECT& r = centres[size_t(pick(6))];
                const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
                const int action = pick(3);
                if (action == 0) window.pointAt(x, y);
                if (action == 1) window.press(x, y);
                if (action == 2) window.release(x, y);
                what = "mouse";
                break;
            }
            case 4: {
                CControls* c = hideable[pick(5)];
                c->ShowControl(c->IsShown() ? SW_HIDE : SW_SHOW);
                what = "show/hide";
                break;
            }
            case 5:
                label.SetText(QString::number(pick(3000)) + QStringLiteral(" MHz"));
                what = "label text";
                break;
            case 6:
                slider.SetPos(float(pick(60)));
                what = "slider";
                break;
            case 7:
                menu.OnMessage(WM_CTRL_LINK, CMenuList::kHeadId + unsigned(pick(3)), 0);
                what = "menu";
                break;
            case 8:
                // Frames composed from the old picture must not come back.
                {
                    const auto picture = [] {
                        return skin::PictureCache::instance().get(QStringLiteral("ImageRes/eye.png"));
                    };
                    const qint64 before = picture() ? picture()->cacheKey() : 0;
                    writePatternStrip("ImageRes/eye.png", 60, 60, 6, pick(2) ? 2 : 13);
                    ASSERT_TRUE(spinUntil([&] { return picture() && picture()->cacheKey() != before; }));
                    what = "eye picture replaced";
                }
                break;
            default:
                window.pointAt(290, 195);
                what = "pointer away";
                break;
        }
        // The next paint, whoever asks for it (the eye's timer, in the main window).
        window.RedrawWindow(nullptr, RDW_INTERNALPAINT);
        window.UpdateWindow();
        QCoreApplication::processEvents();
        const QImage whole = window.ComposeCopy();
        ASSERT_EQ(window.surface(), whole) << "step " << step << ": " << what;
        ASSERT_EQ(CDialogBase::UnreportedChanges(), 0u) << "step " << step << ": " << what;
    }
    EXPECT_GT(window.KeptCompositionsUsed(), 0u) << "rectangles that came round again were copied";
    EXPECT_GT(window.RecordingsSkipped(), 0u) << "controls that said they were unchanged were not drawn";
}

INSTANTIATE_TEST_SUITE_P(Backgrounds, IncrementalPaint, ::testing::Values(true, false));

// A reading that changes beside the eye: the gauge repaints where its value
// label and the top of its bar moved, not its scale, and the eye frame keeps
// its own rectangle, so a frame composed before is copied.
TEST_F(IncrementalPaint, AGaugeValueRepaintsWhatMovedAndTheEyeBesideItIsAKeptFrame) {
    writePatternStrip("ImageRes/bg.png", 300, 200, 1, 1);
    writePatternStrip("ImageRes/eye.png", 60, 60, 6, 2);
    SkinTestWindow window(QStringLiteral("ImageRes/bg.png"));
    window.resize(300, 200);
    CAnimation eye;
    CProgressbar gauge;
    createEyeAndGauge(window, eye, gauge);
    gauge.SetPos(50);
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0; }));
    for (int frame = 0; frame < 6; ++frame) window.tick(CAnimation::kTimerId);  // every frame composed once
    QCoreApplication::processEvents();

    for (const int value : {51, 57, 49}) {
        const long long flushed = window.FlushedPixels();
        const size_t kept = window.KeptCompositionsUsed();
        gauge.SetPos(value);
        window.tick(CAnimation::kTimerId);
        EXPECT_EQ(window.KeptCompositionsUsed(), kept + 1) << value;
        // The gauge's whole drawing (labels and bar) is 52 x 170 pixels.
        EXPECT_LT(window.FlushedPixels() - flushed, 60 * 60 + 52 * 170 / 3) << value;
        EXPECT_EQ(window.surface(), window.ComposeCopy()) << value;
    }
}

TEST_F(IncrementalPaint, AnEyeFrameReachesTheScreenAloneAndAWholeRedrawAll) {
    writePatternStrip("ImageRes/bg.png", 300, 200, 1, 1);
    writePatternStrip("ImageRes/eye.png", 60, 60, 6, 2);
    SkinTestWindow window(QStringLiteral("ImageRes/bg.png"));
    CAnimation eye;
    eye.Create(&window, 1, RECT{100, 60, 160, 120}, {}, QStringLiteral("ImageRes/eye.png"));
    eye.SetFrameCount(6);
    CStaticText label;
    label.Create(&window, 5, RECT{10, 10, 90, 30}, QStringLiteral("label"));
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0; }));
    QCoreApplication::processEvents();

    // What the screen shows: the window's backing store, which the frames reach
    // without a paint event of Qt's. The offscreen grab reads it back opaque, so
    // colours are compared without alpha.
    const auto onScreen = [&] {
        return window.screen()
            ->grabWindow(window.winId())
            .toImage()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const auto sameColours = [](const QImage& a, const QImage& b) {
        if (a.size() != b.size()) return false;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if ((a.pixel(x, y) ^ b.pixel(x, y)) & 0xFFFFFFu) return false;
        return true;
    };
    long long before = window.FlushedPixels();
    int paints = window.PaintCount();
    window.tick(CAnimation::kTimerId);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.FlushedPixels() - before, 60 * 60) << "the frame alone";
    EXPECT_EQ(window.PaintCount() - paints, 1);
    EXPECT_TRUE(sameColours(onScreen(), window.surface()));

    before = window.FlushedPixels();
    window.RedrawWindow(nullptr, RDW_INTERNALPAINT);
    window.UpdateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.FlushedPixels(), before) << "nothing changed, nothing sent";

    paints = window.PaintCount();
    window.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.FlushedPixels() - before, 300 * 200);
    EXPECT_EQ(window.PaintCount() - paints, 1) << "composed once, not again from the event loop";
    window.tick(CAnimation::kTimerId);
    EXPECT_TRUE(sameColours(onScreen(), window.surface()));
}

// An eye whose frames differ only in a box sends only that box at a tick, and
// draws the frame it would have drawn whole.
TEST_F(IncrementalPaint, AnEyeFrameSendsOnlyWhereFramesDiffer) {
    writePatternStrip("ImageRes/bg.png", 300, 200, 1, 1);
    const QRect moving(8, 12, 40, 30);
    writeStripMovingIn("ImageRes/eye.png", 60, 60, 6, moving);
    SkinTestWindow window(QStringLiteral("ImageRes/bg.png"));
    CAnimation eye;
    eye.Create(&window, 1, RECT{100, 60, 160, 120}, {}, QStringLiteral("ImageRes/eye.png"));
    eye.SetFrameCount(6);
    const DrawStateCheck recorderCheck;
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0; }));
    QCoreApplication::processEvents();

    QImage whole(60, 60, QImage::Format_ARGB32_Premultiplied);
    for (int tick = 1; tick <= 7; ++tick) {
        const long long before = window.FlushedPixels();
        window.tick(CAnimation::kTimerId);
        EXPECT_EQ(window.FlushedPixels() - before, moving.width() * moving.height()) << tick;
        EXPECT_EQ(window.surface(), window.ComposeCopy()) << tick;
        whole.fill(Qt::transparent);
        {
            QPainter p(&whole);
            p.translate(-100, -60);
            eye.Draw(&p);
        }
        EXPECT_EQ(whole, skin::PictureCache::instance()
                             .get(QStringLiteral("ImageRes/eye.png"))
                             ->copy(eye.Frame() * 60, 0, 60, 60)
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << tick;
    }
    EXPECT_EQ(CDialogBase::UnreportedChanges(), 0u);
}

// Once every frame was composed, a tick shows its frame without composing, until
// anything else changed: a control that only changed its state (no redraw asked
// for), a label over the eye (its frames are composed anew); a hidden eye shows none.
TEST_F(IncrementalPaint, AFrameComposedBeforeIsShownWithoutAPaintWhileNothingElseChanged) {
    writePatternStrip("ImageRes/bg.png", 300, 200, 1, 1);
    const QRect moving(8, 12, 40, 30);
    writeStripMovingIn("ImageRes/eye.png", 60, 60, 6, moving);
    SkinTestWindow window(QStringLiteral("ImageRes/bg.png"));
    window.resize(300, 200);
    CAnimation eye;
    CProgressbar gauge;
    createEyeAndGauge(window, eye, gauge);
    CStaticText label;
    label.Create(&window, 5, RECT{110, 70, 150, 90}, QStringLiteral("40"));
    const DrawStateCheck recorderCheck;
    window.show();
    ASSERT_TRUE(spinUntil([&] { return window.PaintCount() > 0; }));
    QCoreApplication::processEvents();
    for (int frame = 0; frame < 6; ++frame) window.tick(CAnimation::kTimerId);

    const auto tick = [&](const char* what) {
        const int paints = window.PaintCount();
        const size_t shown = window.KnownFramesShown();
        window.tick(CAnimation::kTimerId);
        EXPECT_EQ(window.surface(), window.ComposeCopy()) << what;
        EXPECT_EQ(window.PaintCount() - paints + int(window.KnownFramesShown() - shown), 1) << what;
        return window.PaintCount() == paints;
    };
    for (int round = 0; round < 6; ++round) {
        const long long before = window.FlushedPixels();
        EXPECT_TRUE(tick("known frame")) << round;
        EXPECT_EQ(window.FlushedPixels() - before, moving.width() * moving.height()) << round;
    }
    gauge.SetPos(42);
    EXPECT_FALSE(tick("gauge moved"));
    EXPECT_TRUE(tick("known frame after the gauge"));

    label.SetText(QStringLiteral("41"));
    window.RedrawWindow(nullptr, RDW_INTERNALPAINT);
    window.UpdateWindow();
    for (int frame = 1; frame < 6; ++frame) EXPECT_FALSE(tick("frame under a new label")) << frame;
    EXPECT_TRUE(tick("known frame under the new label"));

    eye.ShowControl(SW_HIDE);
    window.RedrawWindow(nullptr, RDW_INTERNALPAINT);
    window.UpdateWindow();
    const size_t shown = window.KnownFramesShown();
    window.tick(CAnimation::kTimerId);
    EXPECT_EQ(window.KnownFramesShown(), shown) << "a hidden eye shows no frame";
    EXPECT_EQ(window.surface(), window.ComposeCopy());

    // Ticks among changes that no one asks to be painted.
    eye.ShowControl(SW_SHOW);
    std::mt19937 random(5);
    for (int step = 0; step < 200; ++step) {
        switch (random() % 4) {
            case 0:
                gauge.SetPos(int(random() % 100));
                break;
            case 1:
                label.SetText(QString::number(random() % 3));
                break;
            default:
                break;
        }
        tick("random step");
    }
    EXPECT_GT(window.KnownFramesShown(), shown + 20);
    EXPECT_EQ(CDialogBase::UnreportedChanges(), 0u);
}

TEST_F(IncrementalPaint, TextIsRasterisedOncePerLookAndDrawsAsDirectText) {
    QImage direct(120, 40, QImage::Format_ARGB32_Premultiplied);
    direct.setDotsPerMeterX(3780);
    direct.setDotsPerMeterY(3780);
    direct.fill(QColor(30, 60, 90, 200));
    const QImage plain = direct.copy();
    QImage cached = plain.copy();
    const QRectF box(5.5, 4, 100, 30);
    const int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextDontClip;
    {
        QPainter p(&direct);
        p.setFont(skin::skinFont(10));
        p.setPen(QColor::fromRgba(0xCCC80000));
        p.drawText(box, flags, QStringLiteral("Fan 45%"));
    }
    const size_t made = skin::textRasterCount();
    for (int i = 0; i < 3; ++i) {
        QPainter p(&cached);
        skin::drawText(&p, box, flags, QStringLiteral("Fan 45%"), 10, 0xCCC80000);
    }
    EXPECT_EQ(skin::textRasterCount() - made, 1u);
    QImage once = plain.copy();
    {
        QPainter p(&once);
        skin::drawText(&p, box, flags, QStringLiteral("Fan 45%"), 10, 0xCCC80000);
    }
    EXPECT_EQ(once, direct);

    // Another colour is another raster; a translated painter finds the same one.
    {
        QPainter p(&once);
        skin::drawText(&p, box, flags, QStringLiteral("Fan 45%"), 10, 0xFF00FF00);
        p.translate(-10, 0);
        skin::drawText(&p, box.translated(10, 0), flags, QStringLiteral("Fan 45%"), 10, 0xFF00FF00);
    }
    EXPECT_EQ(skin::textRasterCount() - made, 2u);

    // Moved by whole pixels (a value label riding a bar): the same raster, drawn
    // where direct text would be.
    const QRectF moved = box.translated(7, -3);
    QImage movedDirect = plain.copy();
    {
        QPainter p(&movedDirect);
        p.setFont(skin::skinFont(10));
        p.setPen(QColor::fromRgba(0xCCC80000));
        p.drawText(moved, flags, QStringLiteral("Fan 45%"));
    }
    QImage movedCached = plain.copy();
    {
        QPainter p(&movedCached);
        skin::drawText(&p, moved, flags, QStringLiteral("Fan 45%"), 10, 0xCCC80000);
    }
    EXPECT_EQ(skin::textRasterCount() - made, 2u);
    EXPECT_EQ(movedCached, movedDirect);
    // A move by a fraction of a pixel lays the text out again.
    {
        QPainter p(&movedCached);
        skin::drawText(&p, moved.translated(0.5, 0), flags, QStringLiteral("Fan 45%"), 10, 0xCCC80000);
    }
    EXPECT_EQ(skin::textRasterCount() - made, 3u);
}

// Text wrapped far past its box is drawn as direct text would be, and placeText
// tells exactly the pixels it inks.
TEST_F(IncrementalPaint, TextFarPastItsBoxDrawsAsDirectTextWhereItWasPlaced) {
    const QRectF box(40, 110, 20, 8);
    const int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextDontClip;
    const QString text = QStringLiteral("Memory clock offset of the second profile, kept");
    const auto blank = [] {
        QImage image(200, 240, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::transparent);
        return image;
    };
    QImage direct = blank();
    {
        QPainter p(&direct);
        p.setFont(skin::skinFont(9));
        p.setPen(QColor::fromRgba(0xFFFFFFFF));
        p.drawText(box, flags, text);
    }
    QImage cached = blank();
    {
        QPainter p(&cached);
        skin::drawText(&p, box, flags, text, 9, 0xFFFFFFFF);
    }
    EXPECT_EQ(cached, direct);

    QRect inked;
    for (int y = 0; y < direct.height(); ++y)
        for (int x = 0; x < direct.width(); ++x)
            if (direct.pixel(x, y)) inked |= QRect(x, y, 1, 1);
    ASSERT_GT(inked.height(), 3 * box.height()) << "the text wraps well past its box";
    EXPECT_EQ(skin::placeText(box, flags, text, 9, 0xFFFFFFFF, 96).pixels, inked);
}

// The recorder's key of a drawing depends on nothing drawn before it, and a
// filled rectangle on whole pixels covers just those pixels.
TEST_F(IncrementalPaint, ARecordingIsTheSameWhateverWasRecordedBeforeIt) {
    QImage like(1, 1, QImage::Format_ARGB32_Premultiplied);
    like.setDotsPerMeterX(3780);
    like.setDotsPerMeterY(3780);
    skin::PaintRecorder recorder(like, QSize(100, 100));
    const auto record = [&](auto draw) {
        recorder.reset();
        QPainter p(&recorder);
        draw(p);
        p.end();
        return std::pair(recorder.key(), recorder.parts());
    };
    const QImage picture(8, 8, QImage::Format_ARGB32_Premultiplied);
    const auto fill = [&](QPainter& p) {
        p.drawImage(QPoint(50, 50), picture);
        p.fillRect(QRect(10, 20, 30, 5), QColor(200, 0, 0));
    };
    const auto first = record(fill);
    record([](QPainter& p) {
        p.setPen(QPen(Qt::blue, 3));
        p.setBrush(Qt::green);
        p.translate(5, 5);
        p.drawEllipse(QRect(0, 0, 20, 10));
    });
    EXPECT_EQ(record(fill), first);
    ASSERT_EQ(first.second.size(), 2u);
    EXPECT_EQ(first.second[0].bounds, QRect(50, 50, 8, 8));
    EXPECT_EQ(first.second[1].bounds, QRect(10, 20, 30, 5));
}

}  // namespace
