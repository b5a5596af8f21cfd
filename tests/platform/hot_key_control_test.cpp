// The hot-key control: what a key press becomes in the stored coding, and how a
// stored value reads back.
#include "platform/hot_key_control.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "platform/hot_key.h"

namespace {

using platform::HOTKEYF_ALT;
using platform::HOTKEYF_CONTROL;
using platform::HOTKEYF_EXT;
using platform::HOTKEYF_SHIFT;
using platform::hotKeyValue;

void press(QWidget& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyPress, key, mods);
    QCoreApplication::sendEvent(&w, &e);
}
void release(QWidget& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyRelease, key, mods);
    QCoreApplication::sendEvent(&w, &e);
}

TEST(HotKeyCoding, PressesBecomeVirtualKeysAndFlags) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int vk, flags;
    } cases[] = {
        {Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, 'K', HOTKEYF_CONTROL | HOTKEYF_ALT},
        {Qt::Key_F12, Qt::ShiftModifier, 0x7B, HOTKEYF_SHIFT},
        {Qt::Key_Exclam, Qt::ShiftModifier, '1', HOTKEYF_SHIFT},  // Shift+1 reaches us as "!"
        {Qt::Key_Less, Qt::ShiftModifier | Qt::ControlModifier, 0xBC, HOTKEYF_SHIFT | HOTKEYF_CONTROL},
        {Qt::Key_5, Qt::KeypadModifier, 0x65, 0},
        {Qt::Key_Slash, Qt::KeypadModifier, 0x6F, HOTKEYF_EXT},
        {Qt::Key_Left, Qt::AltModifier, 0x25, HOTKEYF_ALT | HOTKEYF_EXT},
        {Qt::Key_Delete, Qt::ControlModifier, 0x2E, HOTKEYF_CONTROL | HOTKEYF_EXT},
        {Qt::Key_Control, Qt::ControlModifier, 0, HOTKEYF_CONTROL},
    };
    for (const Case& c : cases) {
        const platform::HotKeyPress p = platform::hotKeyFromQt(c.key, c.mods);
        EXPECT_EQ(p.virtualKey, c.vk) << std::hex << c.key;
        EXPECT_EQ(p.flags, c.flags) << std::hex << c.key;
    }
}

TEST(HotKeyCoding, StoredValuesReadBackAsText) {
    EXPECT_EQ(platform::hotKeyText(0), "None");
    EXPECT_EQ(platform::hotKeyText(hotKeyValue(0x7B, HOTKEYF_ALT)), "Alt + F12");
    EXPECT_EQ(platform::hotKeyText(hotKeyValue('S', HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT)),
              "Ctrl + Shift + Alt + S");
    EXPECT_EQ(platform::hotKeyText(hotKeyValue(0, HOTKEYF_ALT)), "Alt + ");
    EXPECT_EQ(platform::hotKeyText(hotKeyValue(0x25, HOTKEYF_EXT)), "Left");
    EXPECT_EQ(platform::hotKeyText(hotKeyValue(0x61, 0)), "Num 1");
    // Every key the screenshot can grab has a name of its own.
    for (int vk = 1; vk < 256; ++vk) {
        if (platform::keysymForVirtualKey(vk)) {
            EXPECT_FALSE(platform::hotKeyText(hotKeyValue(vk, 0)).startsWith("0x")) << vk;
        }
    }
}

TEST(HotKeyControl, TakesTheCombinationTheUserPresses) {
    platform::HotKeyControl c;
    c.SetHotKey(hotKeyValue(0x7B, HOTKEYF_ALT));
    EXPECT_EQ(c.text(), "Alt + F12");

    press(c, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(c.text(), "Ctrl + ");
    press(c, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    press(c, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    release(c, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    release(c, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    release(c, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(c.GetHotKey(), hotKeyValue('P', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_EQ(c.text(), "Ctrl + Shift + P");

    // Modifiers let go of without a key leave nothing.
    press(c, Qt::Key_Alt, Qt::AltModifier);
    release(c, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_EQ(c.GetHotKey(), 0);
    EXPECT_EQ(c.text(), "None");

    press(c, Qt::Key_F9);
    release(c, Qt::Key_F9);
    EXPECT_EQ(c.GetHotKey(), hotKeyValue(0x78, 0));
    press(c, Qt::Key_Backspace);
    EXPECT_EQ(c.GetHotKey(), 0);
}

TEST(HotKeyControl, LeavesTheDialogItsOwnKeys) {
    platform::HotKeyControl c;
    c.SetHotKey(hotKeyValue('K', HOTKEYF_ALT));
    for (int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&c, &e);
        EXPECT_FALSE(e.isAccepted()) << key;
    }
    EXPECT_EQ(c.GetHotKey(), hotKeyValue('K', HOTKEYF_ALT));
}

}  // namespace
