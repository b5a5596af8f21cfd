// One of each skinned control with the shipped pictures and font, composed and
// saved as a picture to look at (snapshots/controls.png in the build folder).
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRawFont>
#include <filesystem>

#include "skin/animation.h"
#include "skin/button_ex.h"
#include "skin/menu_list.h"
#include "skin/progressbar.h"
#include "skin/skin_font.h"
#include "skin/static_text.h"
#include "skin/super_sliders.h"
#include "skin_window.h"

namespace {

namespace fs = std::filesystem;

// A plain dark backdrop, written outside the runtime folder.
QString writeBackdrop(const fs::path& dir, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(48, 48, 52));
    gradient.setColorAt(1, QColor(14, 14, 16));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    const QString path = QString::fromStdString((dir / "gallery_bg.png").string());
    image.save(path);
    return path;
}

TEST(Gallery, OneOfEachControlComposesWithTheShippedPictures) {
    const fs::path previous = fs::current_path();
    fs::current_path(RUNTIME_DIR);
    skin::loadSkinFont();
    const fs::path out = fs::path(SNAPSHOT_DIR);
    fs::create_directories(out);
    {
        const QSize size(560, 400);
        SkinTestWindow window(writeBackdrop(out, size));
        window.resize(size);

        CButtonEx normal, hover, pressed;
        normal.Create(&window, 1, RECT{20, 20, 50, 50}, {}, "ImageRes/main_set.png");
        hover.Create(&window, 2, RECT{60, 20, 90, 50}, {}, "ImageRes/main_min.png");
        pressed.Create(&window, 3, RECT{100, 20, 130, 50}, {}, "ImageRes/main_close.png");
        hover.SetHover(true);
        pressed.SetPressed(true);

        CButtonEx wide;
        wide.Create(&window, 4, RECT{150, 20, 344, 48}, {}, "ImageRes/main_gpu.png");

        CCheckButtonEx one, two, three, box;
        one.Create(&window, 5, RECT{20, 70, 37, 86}, {}, "ImageRes/lockset_one.png");
        two.Create(&window, 6, RECT{42, 70, 59, 86}, {}, "ImageRes/lockset_two.png");
        three.Create(&window, 7, RECT{64, 70, 81, 86}, {}, "ImageRes/lockset_three.png");
        MakeRadioGroup({&one, &two, &three});
        two.SetCheck(true);
        three.SetHover(true);
        box.Create(&window, 8, RECT{100, 64, 152, 91}, {}, "ImageRes/lockset_off.png");
        box.SetCheck(true);

        CStaticText label;
        label.SetFontSize(10);
        label.SetColour(0xFFB4B4B4);
        label.SetAlign(skin::AlignNear);
        label.Create(&window, 9, RECT{170, 64, 420, 90}, "Label: 1530 MHz, 67 \u00B0C");

        CSuperSlidersStepping slider;
        slider.SetThumbImage("ImageRes/lockset_slider.png");
        slider.Create(&window, 10, RECT{30, 150, 310, 200}, {}, "ImageRes/lockset_sliderfill.png");
        slider.SetRange(-500, 1000);
        slider.SetStep(5);
        slider.SetPos(245);
        slider.SetTitle("Core Clock (MHz)");

        CProgressbar bar;
        bar.Create(&window, 11, RECT{490, 130, 500, 330});
        bar.SetRange(2500);
        std::array<QRectF, 5> labels;
        for (int i = 0; i < 5; ++i) labels[size_t(i)] = QRectF(502, 325 - i * 50, 40, 10);
        bar.SetScaleRects(labels);
        bar.SetPos(1500);

        CAnimation eye;
        eye.Create(&window, 12, RECT{30, 230, 204, 378}, {}, "ImageRes/main_eye.png");
        eye.SetFrameCount(13);
        eye.SetFrame(6);

        CMenuList list;
        list.Create({"GPU 0: Simulated", "GPU 1: Second card", "GPU 2: Third card"}, &window,
                    RECT{230, 230, 447, 252});
        list.OnMessage(WM_CTRL_LINK, CMenuList::kHeadId, 0);  // opened
        list.Entries().at(0)->SetHover(true);

        const QImage& image = window.Compose();
        ASSERT_TRUE(image.save(QString::fromStdString((out / "controls.png").string())));

        // Each part put its own pixels down over the backdrop.
        const QImage backdrop(QString::fromStdString((out / "gallery_bg.png").string()));
        auto differs = [&](const RECT& r) {
            int changed = 0;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) changed += image.pixel(x, y) != backdrop.pixel(x, y);
            return changed > (r.right - r.left) * (r.bottom - r.top) / 20;
        };
        for (const CControls* control : window.Controls()) {
            if (control->IsShown() && control != &list && control != &bar && control != &slider) {
                EXPECT_TRUE(differs(control->Rect())) << "control " << control->ID();
            }
        }
        EXPECT_TRUE(differs(RECT{490, 270, 500, 330})) << "the gauge's bar";
        EXPECT_TRUE(differs(RECT{43, 165, 100, 174})) << "the slider's fill";
    }
    fs::current_path(previous);
}

TEST(SkinFont, DrawsWithTheFilesFamilyElseSansSerif) {
    skin::unloadSkinFont();
    EXPECT_FALSE(skin::loadSkinFont("no/such/font.ttf"));
    EXPECT_EQ(skin::skinFontFamily(), "sans-serif");
    EXPECT_FALSE(skin::loadSkinFont(RUNTIME_DIR "/ImageRes/main.png")) << "a picture is not a font";
    ASSERT_TRUE(skin::loadSkinFont(RUNTIME_DIR "/font/NEWSGOTL.ttf"));
    EXPECT_TRUE(skin::skinFontFamily().startsWith("DejaVu Sans")) << skin::skinFontFamily().toStdString();
    EXPECT_EQ(skin::skinFont(10).family(), skin::skinFontFamily());
    EXPECT_EQ(skin::skinFont(7).pointSizeF(), 7.0);
    // The face the file holds (condensed), not the family's regular face that the
    // system also has: the same text comes out as narrow as the file draws it.
    const QString text = QStringLiteral("Vantrel 1250 MHz");
    const QRawFont file(QStringLiteral(RUNTIME_DIR "/font/NEWSGOTL.ttf"), 40);
    qreal fileWidth = 0;
    for (const QPointF& advance : file.advancesForGlyphIndexes(file.glyphIndexesForString(text)))
        fileWidth += advance.x();
    QFont font = skin::skinFont(30);  // 30 pt = 40 px at 96 dpi
    font.setPixelSize(40);
    EXPECT_NEAR(QFontMetricsF(font).horizontalAdvance(text), fileWidth, fileWidth * 0.03);  // regular: +15 %
    skin::unloadSkinFont();
    EXPECT_EQ(skin::skinFontFamily(), "sans-serif");
}

}  // namespace
