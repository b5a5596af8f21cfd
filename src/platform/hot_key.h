// The system-wide screenshot hot key: Windows virtual-key codes and hot-key
// control flags, grabbed on X11's root window.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

// Hot-key control flags as stored in the settings.
constexpr int HOTKEYF_SHIFT = 0x01;
constexpr int HOTKEYF_CONTROL = 0x02;
constexpr int HOTKEYF_ALT = 0x04;
constexpr int HOTKEYF_EXT = 0x08;
// Registration modifiers.
constexpr uint32_t MOD_ALT = 0x0001;
constexpr uint32_t MOD_CONTROL = 0x0002;
constexpr uint32_t MOD_SHIFT = 0x0004;

// Hot-key control flags to registration modifiers; the extended-key flag is dropped.
uint32_t hotKeyModifiers(int controlFlags);
// X keysym of a Windows virtual-key code (letters, digits, F1-F24, keypad, the
// common editing and punctuation keys); 0 when it has none.
uint32_t keysymForVirtualKey(int virtualKey);
// X modifier mask (Shift, Control, Mod1) of registration modifiers.
uint16_t x11ModifierMask(uint32_t modifiers);

class GlobalHotKey : public QAbstractNativeEventFilter {
  public:
    // `onPress` runs on the UI thread for every press of the registered key.
    explicit GlobalHotKey(std::function<void()> onPress);
    ~GlobalHotKey() override;
    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

    // Replaces any earlier registration. False when there is no X11 display, the
    // key has no keysym, or another program holds the combination.
    bool registerKey(int virtualKey, uint32_t modifiers);
    void unregisterKey();
    bool isRegistered() const { return !m_keycodes.empty(); }
    // Whether this desktop lets any combination be registered (an X11 display).
    static bool available();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    std::function<void()> m_onPress;
    std::vector<uint8_t> m_keycodes;
    uint32_t m_root = 0;
    uint16_t m_mask = 0;
    uint16_t m_lockMasks[4] = {};
    bool m_filterInstalled = false;
};

}  // namespace platform
