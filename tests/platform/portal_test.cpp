// What the program hands the desktop portal and what it keeps of its answers.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "platform/hot_key.h"
#include "platform/portal_request.h"
#include "platform/screenshot.h"

namespace {

TEST(PortalTrigger, SpellsModifiersAndKeysymNames) {
    using platform::portalTrigger;
    EXPECT_EQ(portalTrigger(0x7B, platform::MOD_ALT), QStringLiteral("ALT+F12"));
    EXPECT_EQ(portalTrigger('S', platform::MOD_CONTROL | platform::MOD_SHIFT),
              QStringLiteral("CTRL+SHIFT+s"));
    EXPECT_EQ(portalTrigger('7', 0), QStringLiteral("7"));
    EXPECT_EQ(portalTrigger(0x2C, platform::MOD_CONTROL | platform::MOD_ALT),
              QStringLiteral("CTRL+ALT+Print"));
    EXPECT_EQ(portalTrigger(0x63, 0), QStringLiteral("KP_3"));
    EXPECT_EQ(portalTrigger(0x87, 0), QStringLiteral("F24"));
    EXPECT_EQ(portalTrigger(0xDB, 0), QStringLiteral("bracketleft"));
    // Keys without a keysym give no trigger, whatever the modifiers.
    EXPECT_TRUE(portalTrigger(0, platform::MOD_ALT).isEmpty());
    EXPECT_TRUE(portalTrigger(0xFF, platform::MOD_ALT).isEmpty());
}

TEST(PortalPaths, SenderBecomesOnePathElement) {
    EXPECT_EQ(
        platform::portalObjectPath(QStringLiteral("request"), QStringLiteral(":1.42"), QStringLiteral("t1")),
        QStringLiteral("/org/freedesktop/portal/desktop/request/1_42/t1"));
    EXPECT_NE(platform::newPortalToken(), platform::newPortalToken());
}

TEST(DesktopPicture, CropsToTheScaledAreaAndClipsToThePicture) {
    QImage desktop(200, 100, QImage::Format_RGB32);
    desktop.fill(Qt::blue);
    desktop.setPixelColor(40, 20, Qt::red);  // logical (20, 10) at scale 2

    EXPECT_EQ(platform::cropDesktopPicture(desktop, std::nullopt, 2.0).size(), desktop.size());
    const QImage window = platform::cropDesktopPicture(desktop, QRect(20, 10, 30, 20), 2.0);
    ASSERT_EQ(window.size(), QSize(60, 40));
    EXPECT_EQ(window.pixelColor(0, 0), QColor(Qt::red));
    // Partly off the picture: only the part on it; wholly off it: nothing.
    EXPECT_EQ(platform::cropDesktopPicture(desktop, QRect(-10, 90, 50, 50), 1.0).size(), QSize(40, 10));
    EXPECT_TRUE(platform::cropDesktopPicture(desktop, QRect(300, 0, 10, 10), 1.0).isNull());
    // A broken scale counts as 1.
    EXPECT_EQ(platform::cropDesktopPicture(desktop, QRect(0, 0, 10, 10), 0.0).size(), QSize(10, 10));
}

}  // namespace
