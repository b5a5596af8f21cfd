#include <gtest/gtest.h>

#include <QImage>
#include <QString>

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
TEST(SkinPictures, WindowBackgroundsHaveTransparentCorners) {
    for (const char* name : {"ImageRes/main.png", "ImageRes/lockset_main.png", "ImageRes/gpuinfo_main.png"}) {
        const QImage image = load(name);
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name;
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255) << name;
    }
}

}  // namespace
