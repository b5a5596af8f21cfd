// Whether a top-level window is fully covered by other windows on an X server.
// The server says so in a VisibilityNotify, but not for a window it composites
// itself (one with an alpha channel under a root without one, as every skinned
// window is) nor under a compositing manager; so the windows stacked above it
// are looked at too, whenever a window on the screen is mapped, unmapped,
// moved, resized or restacked. Windows with an alpha channel never count as
// covering. Elsewhere a window is never taken for covered.
#pragma once

#include <functional>

class QWidget;

namespace platform {

class ObscuredWatch {
  public:
    // Watches `window`'s native window, which must exist; `changed` runs with
    // the new state each time it changes.
    ObscuredWatch(QWidget& window, std::function<void(bool obscured)> changed);
    ~ObscuredWatch();
    ObscuredWatch(const ObscuredWatch&) = delete;
    ObscuredWatch& operator=(const ObscuredWatch&) = delete;

    bool obscured() const { return m_saidObscured || m_stackedOver; }
    // The native window it watches (0 when none could be watched).
    unsigned nativeWindow() const { return m_window; }

  private:
    friend class ObscuredWatchFilter;
    void said(bool obscured);
    // Looks at the windows stacked above this one again.
    void restacked();
    void settle(bool before);

    unsigned m_window = 0;
    bool m_saidObscured = false;  // by the server's VisibilityNotify
    bool m_stackedOver = false;   // by the windows above it
    std::function<void(bool)> m_changed;
};

}  // namespace platform
