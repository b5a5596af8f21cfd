// Screen capture, global hot key and tray icon on the platform layer.
#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/bmp_file.h"
#include "platform/hot_key.h"
#include "platform/screenshot.h"
#include "platform/tray_icon.h"
#include "platform/win_types.h"

namespace {

TEST(ClipToScreen, KeepsTheVisiblePart) {
    const QSize screen(1280, 1024);
    EXPECT_EQ(platform::clipToScreen(QRect(100, 50, 475, 440), screen), QRect(100, 50, 475, 440));
    EXPECT_EQ(platform::clipToScreen(QRect(-100, -40, 475, 440), screen), QRect(0, 0, 375, 400));
    EXPECT_EQ(platform::clipToScreen(QRect(1000, 800, 475, 440), screen), QRect(1000, 800, 280, 224));
    EXPECT_TRUE(platform::clipToScreen(QRect(-600, 10, 475, 440), screen).isEmpty());
    EXPECT_GE(platform::clipToScreen(QRect(-600, 10, 475, 440), screen).width(), 0);
    EXPECT_TRUE(platform::clipToScreen(QRect(2000, 10, 475, 440), screen).isEmpty());
}

// An X window of one colour at the screen's top-left corner, painted by the server
// when mapped: the capture has something to see whatever the root's background is.
class ColouredWindow {
  public:
    ColouredWindow() : c_(xcb_connect(nullptr, nullptr)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        window_ = xcb_generate_id(c_);
        const uint32_t values[] = {0x00C03020, 1};  // background pixel, override-redirect
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_map_window(c_, window_);
        free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));  // the map is done
    }
    ~ColouredWindow() { xcb_disconnect(c_); }
    ColouredWindow(const ColouredWindow&) = delete;
    ColouredWindow& operator=(const ColouredWindow&) = delete;

  private:
    xcb_connection_t* c_;
    xcb_window_t window_ = 0;
};

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

TEST(SaveScreenArea, WritesTheClippedAreaAndNothingForAnAreaOffTheScreen) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X11 display";
    const ColouredWindow colour;
    const auto dir = std::filesystem::temp_directory_path() / ("shot_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Vantrel.bmp").string();
    ASSERT_EQ(platform::saveScreenArea(QRect(-10, 5, 40, 20), path), platform::ScreenshotResult::Saved);
    std::vector<uint8_t> b = readFile(path);
    ASSERT_GE(b.size(), 54u);
    auto u32 = [&](size_t at) {
        return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
    };
    EXPECT_EQ(u32(18), 30u);  // only the part right of the screen's left edge
    EXPECT_EQ(u32(22), 20u);
    const int bits = platform::bitmapBitCount(platform::screenBitsPerPixel());
    EXPECT_EQ(b[28], bits);
    EXPECT_EQ(b.size(), 54 + platform::colourTableBytes(bits) + platform::bitmapRowBytes(30, bits) * 20);

    // An empty area or one wholly off the screen leaves the last screenshot as it was.
    EXPECT_EQ(platform::saveScreenArea(QRect(100, 100, 0, 0), path), platform::ScreenshotResult::NoPicture);
    EXPECT_EQ(platform::saveScreenArea(QRect(-600, 10, 475, 440), path),
              platform::ScreenshotResult::NoPicture);
    EXPECT_EQ(readFile(path), b);
    std::filesystem::remove(path);
    EXPECT_EQ(platform::saveScreenArea(QRect(100, 100, 0, 0), path), platform::ScreenshotResult::NoPicture);
    EXPECT_FALSE(std::filesystem::exists(path));
    std::filesystem::remove_all(dir);
}

// What a desktop gives a client it does not let look (nothing, or black) is a
// failure, and the earlier screenshot survives it.
TEST(SaveScreenPicture, RefusesEmptyAndBlackPicturesAndKeepsTheEarlierFile) {
    const auto dir = std::filesystem::temp_directory_path() / ("picture_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Vantrel.bmp").string();
    QImage black(64, 32, QImage::Format_ARGB32);
    black.fill(0xFF000000);
    EXPECT_EQ(platform::saveScreenPicture(black, path), platform::ScreenshotResult::BlackPicture);
    EXPECT_FALSE(std::filesystem::exists(path));

    QImage picture = black;
    picture.setPixel(63, 31, 0xFF010000);  // one pixel not black is a picture
    ASSERT_EQ(platform::saveScreenPicture(picture, path), platform::ScreenshotResult::Saved);
    const std::vector<uint8_t> saved = readFile(path);
    ASSERT_GT(saved.size(), 54u);

    EXPECT_EQ(platform::saveScreenPicture(black, path), platform::ScreenshotResult::BlackPicture);
    EXPECT_EQ(platform::saveScreenPicture(QImage(), path), platform::ScreenshotResult::NoPicture);
    EXPECT_EQ(platform::saveScreenPicture(QImage(0, 0, QImage::Format_RGB32), path),
              platform::ScreenshotResult::NoPicture);
    EXPECT_EQ(readFile(path), saved);

    EXPECT_EQ(platform::saveScreenPicture(picture, (dir / "missing" / "Vantrel.bmp").string()),
              platform::ScreenshotResult::NotWritten);
    std::filesystem::remove_all(dir);
}

TEST(HotKeyModifiers, TranslatesTheControlFlags) {
    EXPECT_EQ(platform::hotKeyModifiers(platform::HOTKEYF_ALT), platform::MOD_ALT);  // Alt+S
    EXPECT_EQ(platform::hotKeyModifiers(platform::HOTKEYF_SHIFT), platform::MOD_SHIFT);
    EXPECT_EQ(platform::hotKeyModifiers(platform::HOTKEYF_CONTROL | platform::HOTKEYF_EXT),
              platform::MOD_CONTROL);
    EXPECT_EQ(platform::hotKeyModifiers(7), platform::MOD_ALT | platform::MOD_CONTROL | platform::MOD_SHIFT);
    EXPECT_EQ(platform::x11ModifierMask(platform::MOD_ALT), XCB_MOD_MASK_1);
    EXPECT_EQ(platform::x11ModifierMask(platform::MOD_SHIFT | platform::MOD_CONTROL),
              XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL);
}

TEST(HotKeyKeysyms, MapsVirtualKeys) {
    EXPECT_EQ(platform::keysymForVirtualKey('S'), uint32_t('s'));
    EXPECT_EQ(platform::keysymForVirtualKey('7'), uint32_t('7'));
    EXPECT_EQ(platform::keysymForVirtualKey(0x70), 0xFFBEu);  // F1
    EXPECT_EQ(platform::keysymForVirtualKey(0x7B), 0xFFC9u);  // F12
    EXPECT_EQ(platform::keysymForVirtualKey(0x2C), 0xFF61u);  // Print Screen
    EXPECT_EQ(platform::keysymForVirtualKey(0x60), 0xFFB0u);  // keypad 0
    EXPECT_EQ(platform::keysymForVirtualKey(0), 0u);
    EXPECT_EQ(platform::keysymForVirtualKey(0xFFFF), 0u);
    EXPECT_EQ(platform::keysymForVirtualKey(0x07), 0u);  // unassigned
}

bool onX11() {
    return QGuiApplication::platformName() == "xcb";
}

// Whether another client can grab the combination (false while someone holds it).
bool canGrab(uint32_t keysym, uint16_t mask) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_grab_key_checked(c, 1, root, mask, codes[0], XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    free(codes);
    xcb_key_symbols_free(symbols);
    const bool free_ = error == nullptr;
    free(error);
    xcb_disconnect(c);
    return free_;
}

TEST(GlobalHotKey, GrabsTheKeyWithEveryLockState) {
    if (!onX11()) GTEST_SKIP() << "needs an X11 display";
    platform::GlobalHotKey key([] {});
    ASSERT_TRUE(key.registerKey(0x7A /* F11 */, platform::MOD_ALT | platform::MOD_CONTROL));
    EXPECT_TRUE(platform::GlobalHotKey::available());
    const uint16_t mods = XCB_MOD_MASK_1 | XCB_MOD_MASK_CONTROL;
    EXPECT_FALSE(canGrab(0xFFC8, mods));
    EXPECT_FALSE(canGrab(0xFFC8, mods | XCB_MOD_MASK_LOCK));
    EXPECT_FALSE(canGrab(0xFFC8, mods | XCB_MOD_MASK_2));
    EXPECT_TRUE(canGrab(0xFFC8, XCB_MOD_MASK_1));  // Alt alone is not ours
    key.unregisterKey();
    EXPECT_TRUE(canGrab(0xFFC8, mods));
}

TEST(GlobalHotKey, TakenCombinationFailsQuietly) {
    if (!onX11()) GTEST_SKIP() << "needs an X11 display";
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(other);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 0xFFC7);  // F10
    free(xcb_request_check(other, xcb_grab_key_checked(other, 1, root, XCB_MOD_MASK_SHIFT, codes[0],
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
    platform::GlobalHotKey key([] {});
    EXPECT_FALSE(key.registerKey(0x79, platform::MOD_SHIFT));
    EXPECT_FALSE(key.isRegistered());
    free(codes);
    xcb_key_symbols_free(symbols);
    xcb_disconnect(other);
    EXPECT_TRUE(key.registerKey(0x79, platform::MOD_SHIFT));
}

// The settings window registers whatever the user chose: the old grab goes
// first, and a modifier without a key takes nothing from the rest of the desktop.
TEST(GlobalHotKey, ANewCombinationReleasesTheOldAndOneWithoutAKeyGrabsNothing) {
    if (!onX11()) GTEST_SKIP() << "needs an X11 display";
    platform::GlobalHotKey key([] {});
    ASSERT_TRUE(key.registerKey(0x7A /* F11 */, platform::MOD_ALT));
    ASSERT_TRUE(key.registerKey(0x79 /* F10 */, platform::MOD_ALT));
    EXPECT_TRUE(canGrab(0xFFC8, XCB_MOD_MASK_1));
    EXPECT_FALSE(canGrab(0xFFC7, XCB_MOD_MASK_1));
    EXPECT_FALSE(key.registerKey(0, platform::MOD_ALT));
    EXPECT_FALSE(key.isRegistered());
    EXPECT_TRUE(canGrab(0xFFC7, XCB_MOD_MASK_1));
    EXPECT_TRUE(canGrab('a', XCB_MOD_MASK_1));
}

TEST(GlobalHotKey, WithoutX11RegistrationFails) {
    if (onX11()) GTEST_SKIP() << "runs on a display without X11";
    EXPECT_FALSE(platform::GlobalHotKey::available());
    platform::GlobalHotKey key([] {});
    EXPECT_FALSE(key.registerKey('S', platform::MOD_ALT));
}

TEST(TrayIcon, ActivationsBecomeMouseMessagesAndMenuChoicesCommands) {
    EXPECT_EQ(platform::TrayIcon::mouseMessageFor(QSystemTrayIcon::DoubleClick), WM_LBUTTONDBLCLK);
    EXPECT_EQ(platform::TrayIcon::mouseMessageFor(QSystemTrayIcon::Context), WM_RBUTTONUP);
    EXPECT_EQ(platform::TrayIcon::mouseMessageFor(QSystemTrayIcon::Unknown), 0u);
    // A StatusNotifierItem host's activation is its primary click: it shows the window.
    EXPECT_EQ(platform::TrayIcon::mouseMessageFor(QSystemTrayIcon::Trigger, true), WM_LBUTTONDBLCLK);
    EXPECT_EQ(platform::TrayIcon::mouseMessageFor(QSystemTrayIcon::Trigger), WM_LBUTTONUP);
    std::vector<unsigned> commands;
    platform::TrayIcon tray(QIcon(), "Vantrel 1.0.0", {{"Show", 32773}, {"Close", 32772}}, nullptr,
                            [&](unsigned c) { commands.push_back(c); });
    EXPECT_EQ(tray.toolTip(), "Vantrel 1.0.0");
    ASSERT_EQ(tray.menu()->actions().size(), 2);
    EXPECT_EQ(tray.menu()->actions()[0]->text(), "Show");
    tray.menu()->actions()[1]->trigger();
    tray.menu()->actions()[0]->trigger();
    EXPECT_EQ(commands, (std::vector<unsigned>{32772, 32773}));
    tray.add();
    EXPECT_TRUE(tray.isAdded());
    tray.remove();
    EXPECT_FALSE(tray.isAdded());
}

}  // namespace

int main(int argc, char** argv) {
    // Window-system tests run on X11 when there is a display, else offscreen.
    if (!getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
