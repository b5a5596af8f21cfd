// Whether the X server says a top-level window is fully covered by others
// (VisibilityNotify). Elsewhere, or where the server never says, a window is
// never taken for covered.
#pragma once

#include <functional>

class QWidget;

namespace platform {

class ObscuredWatch {
  public:
    // Asks the server for visibility changes of `window`'s native window, which
    // must exist; `changed` runs with the new state each time it changes.
    ObscuredWatch(QWidget& window, std::function<void(bool obscured)> changed);
    ~ObscuredWatch();
    ObscuredWatch(const ObscuredWatch&) = delete;
    ObscuredWatch& operator=(const ObscuredWatch&) = delete;

    bool obscured() const { return m_obscured; }
    // The native window it watches (0 when none could be watched).
    unsigned nativeWindow() const { return m_window; }

  private:
    friend class ObscuredWatchFilter;
    void notify(bool obscured);

    unsigned m_window = 0;
    bool m_obscured = false;
    std::function<void(bool)> m_changed;
};

}  // namespace platform
