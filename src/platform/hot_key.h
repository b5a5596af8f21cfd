// The system-wide screenshot hot key: Windows virtual-key codes and hot-key
// control flags, grabbed on X11's root window or, on native Wayland, held through
// the desktop portal's global shortcuts.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

class PortalShortcut;

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
// The combination in the shortcuts trigger syntax the portal takes ("CTRL+ALT+F12");
// empty when the key has no keysym.
QString portalTrigger(int virtualKey, uint32_t modifiers);

class GlobalHotKey : public QAbstractNativeEventFilter {
  public:
    // `onPress` runs on the UI thread for every press of the registered key;
    // `onRefused` when the desktop turns down a registration registerKey accepted
    // (the portal answers later).
    explicit GlobalHotKey(std::function<void()> onPress,
                          std::function<void(const QString& why)> onRefused = {});
    ~GlobalHotKey() override;
    GlobalHotKey(const GlobalHotKey&) = delete;
    GlobalHotKey& operator=(const GlobalHotKey&) = delete;

    // Replaces any earlier registration. False when there is neither an X11 display
    // nor (on Wayland) a portal with global shortcuts, the key has no keysym, or
    // another program holds the combination.
    bool registerKey(int virtualKey, uint32_t modifiers);
    void unregisterKey();
    bool isRegistered() const;
    // Whether this desktop lets any combination be registered: an X11 display, or a
    // Wayland session whose portal offers global shortcuts.
    static bool available();
    // Whether registration goes through the portal (the program runs on Wayland).
    static bool usesPortal();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    bool registerWithPortal(int virtualKey, uint32_t modifiers);

    std::function<void()> m_onPress;
    std::function<void(const QString&)> onRefused_;
    std::unique_ptr<PortalShortcut> portal_;
    std::vector<uint8_t> m_keycodes;
    uint32_t m_root = 0;
    uint16_t m_mask = 0;
    uint16_t m_lockMasks[4] = {};
    bool m_filterInstalled = false;
};

}  // namespace platform
