#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QImage load(const char* name) {
    return QImage(QStringLiteral(RUNTIME_DIR "/") + QString::fromLatin1(name));
}

TEST(SkinPictures, EveryPictureTheProgramNamesExists) {
    for (const char* name : {NAMED_PICTURES}) EXPECT_FALSE(load(name).isNull()) << name;
}

// Strips are cut into frames of the control's size, side by side.
TEST(SkinPictures, StripsHaveTheirControlsFrameLayout) {
    struct Layout {
        const char* name;
        int frameWidth, frameHeight, frames;
    };
    const Layout layouts[] = {
        {"ImageRes/main.png", 475, 440, 1},
        {"ImageRes/main_eye.png", 174, 148, 13},
        {"ImageRes/main_close.png", 30, 30, 3},
        {"ImageRes/main_min.png", 30, 30, 3},
        {"ImageRes/main_set.png", 30, 30, 3},
        {"ImageRes/main_clock.png", 194, 28, 3},
        {"ImageRes/main_gpu.png", 194, 28, 3},
        {"ImageRes/main_custmize.png", 194, 28, 3},
        {"ImageRes/main_monitor.png", 194, 28, 3},
        {"ImageRes/lockset_main.png", 379, 671, 1},
        {"ImageRes/lockset_apply.png", 80, 27, 3},
        {"ImageRes/lockset_link.png", 13, 27, 3},
        {"ImageRes/lockset_voltage.png", 19, 93, 3},
        {"ImageRes/lockset_one.png", 17, 16, 3},
        {"ImageRes/lockset_subten.png", 23, 19, 3},
        {"ImageRes/lockset_addten.png", 24, 19, 3},
        {"ImageRes/lockset_arrowleft.png", 12, 12, 3},
        {"ImageRes/lockset_sliderfill.png", 241, 9, 1},
        {"ImageRes/lockset_slider.png", 9, 15, 1},
        {"ImageRes/monitor_main.png", 379, 672, 1},
        {"ImageRes/gpuinfo_main.png", 475, 238, 1},
        {"ImageRes/gpuinfo_back.png", 102, 21, 3},
        {"ImageRes/gpuinfo_tessaril.png", 217, 22, 3},
        {"ImageRes/voltagesetdlg_main.png", 366, 288, 1},
    };
    for (const Layout& l : layouts) {
        const QImage image = load(l.name);
        EXPECT_EQ(image.width(), l.frameWidth * l.frames) << l.name;
        EXPECT_EQ(image.height(), l.frameHeight) << l.name;
    }
}

// The windows are translucent: a background's rounded corner must be see-through.
// WCAG relative luminance and contrast of the gauges' 0xCCC80000 text composed
// over each background pixel it can be drawn on.
double luminance(QColor c) {
    auto lin = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
}
double textContrastOver(QColor bg) {
    const double a = 0xCC / 255.0;
    const QColor text = QColor::fromRgbF(float(a * 200 / 255.0 + (1 - a) * bg.redF()),
                                         float((1 - a) * bg.greenF()), float((1 - a) * bg.blueF()));
    const double l1 = luminance(bg), l2 = luminance(text);
    return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05);
}

TEST(SkinPictures, GaugeValuesAndScaleLabelsAreReadable) {
    const QImage main = load("ImageRes/main.png").convertToFormat(QImage::Format_ARGB32);
    std::vector<QRect> areas;
    for (int top : {319, 255, 192, 132, 69})
        for (int left : {74, 372}) areas.emplace_back(left, top, 30, 10);  // the scale labels
    areas.emplace_back(41, 63, 30, 266);   // where the left value rides on its bar
    areas.emplace_back(405, 63, 30, 266);  // and the right one
    for (const QRect& area : areas) {
        double worst = 100;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                worst = std::min(worst, textContrastOver(QColor::fromRgba(main.pixel(x, y))));
        EXPECT_GE(worst, 4.5) << area.x() << "," << area.y();
    }
}

// Light grey or white: a caption's, a digit's or a label's ink.
bool isInk(QRgb c) {
    const int lo = std::min({qRed(c), qGreen(c), qBlue(c)}), hi = std::max({qRed(c), qGreen(c), qBlue(c)});
    return lo > 0x90 && hi - lo < 0x18;
}

// The rows and columns of `frame` of a strip holding ink, from column `from` on.
QRect inkBox(const QImage& strip, int frame, int frameWidth, int from = 0) {
    QRect box;
    for (int y = 0; y < strip.height(); ++y)
        for (int x = from; x < frameWidth; ++x)
            if (isInk(strip.pixel(frame * frameWidth + x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

// The clock panel's profile row stands 16 pixels high: the digits and "Save"
// must fill it, and saving into a profile must not look like loading it.
TEST(SkinPictures, TheProfileRowsSaveButtonsLookApartFromItsLoadButtonsAndAreLegible) {
    const char* loads[3] = {"ImageRes/lockset_one.png", "ImageRes/lockset_two.png",
                            "ImageRes/lockset_three.png"};
    const char* saves[3] = {"ImageRes/lockset_saveone.png", "ImageRes/lockset_savetwo.png",
                            "ImageRes/lockset_savethree.png"};
    for (int i = 0; i < 3; ++i) {
        const QImage load = ::load(loads[i]).convertToFormat(QImage::Format_ARGB32);
        const QImage save = ::load(saves[i]).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(save.size(), QSize(3 * 17, 16)) << saves[i];
        ASSERT_EQ(load.size(), save.size()) << loads[i];
        for (int f = 0; f < 3; ++f) {
            int differing = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 17; ++x) {
                    const QRgb a = load.pixel(f * 17 + x, y), b = save.pixel(f * 17 + x, y);
                    differing += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                                     std::abs(qBlue(a) - qBlue(b)) >
                                 60;
                }
            // Shown side by side, at rest and under the pointer.
            if (f < 2) {
                EXPECT_GT(differing, 17 * 16 / 2) << saves[i] << " frame " << f;
            }
            for (const QImage* strip : {&load, &save})
                EXPECT_GE(inkBox(*strip, f, 17).height(), 9)
                    << (strip == &load ? loads[i] : saves[i]) << " frame " << f;
        }
    }
    const QImage label = load("ImageRes/lockset_save.png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(label.size(), QSize(3 * 50, 16));
    for (int f = 0; f < 3; ++f) EXPECT_GE(inkBox(label, f, 50, 16).height(), 8) << "\"Save\" frame " << f;
}

// Each caption of the voltage panel stands inside a group frame: on the rows it
// covers, the frame's shade is there just inside the frame's left edge.
TEST(SkinPictures, TheVoltagePanelsCaptionsStandInsideTheirFrames) {
    const QImage face = load("ImageRes/voltagesetdlg_main.png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(face.isNull());
    int captionRows = 0;
    for (int y = 90; y < face.height() - 4; ++y) {  // below the over-voltage slider's track
        bool ink = false;
        for (int x = 20; x < 200 && !ink; ++x) ink = isInk(face.pixel(x, y));
        if (!ink) continue;
        ++captionRows;
        EXPECT_LT(qGray(face.pixel(16, y)), qGray(face.pixel(8, y)))
            << "caption row " << y << " outside a frame";
    }
    EXPECT_GE(captionRows, 2 * 8) << "both captions";
}

TEST(SkinPictures, WindowBackgroundsHaveTransparentCorners) {
    for (const char* name : {"ImageRes/main.png", "ImageRes/lockset_main.png", "ImageRes/gpuinfo_main.png"}) {
        const QImage image = load(name);
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name;
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255) << name;
    }
}

}  // namespace
