// The hot-key control of the settings pages: an edit that shows a key
// combination and takes the next one the user presses. Its value is coded as the
// Windows control does: virtual-key code in the low byte, flags (HOTKEYF_SHIFT 1,
// HOTKEYF_CONTROL 2, HOTKEYF_ALT 4, HOTKEYF_EXT 8) in the high byte.
#pragma once

#include <QLineEdit>
#include <cstdint>

namespace platform {

struct HotKeyPress {
    int virtualKey = 0;  // 0 for a modifier alone or a key without a code
    int flags = 0;
};

// What a Qt key press stands for; keypad keys carry Qt::KeypadModifier, and a
// shifted symbol ("!" from Shift+1) stands for its unshifted key. Keys Windows
// calls extended (arrows, the editing block, keypad divide) get HOTKEYF_EXT.
HotKeyPress hotKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

constexpr uint16_t hotKeyValue(int virtualKey, int flags) {
    return uint16_t((virtualKey & 0xFF) | ((flags & 0xFF) << 8));
}

// "Ctrl + Shift + Alt + F12", "Alt + " for modifiers alone, "None" for 0.
QString hotKeyText(uint16_t value);

class HotKeyControl : public QLineEdit {
    Q_OBJECT
  public:
    explicit HotKeyControl(QWidget* parent = nullptr);

    void SetHotKey(uint16_t value);
    uint16_t GetHotKey() const { return m_value; }

  signals:
    void hotKeyChanged();

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;

  private:
    void display(uint16_t value);

    uint16_t m_value = 0;
    bool m_keyTaken = false;  // a key (not only modifiers) since the last release of all keys
};

}  // namespace platform
