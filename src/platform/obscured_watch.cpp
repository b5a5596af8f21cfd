#include "platform/obscured_watch.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>
#include <cstdlib>
#include <map>

#include "platform/x11_connection.h"

namespace platform {

// One filter for the application: it hands each VisibilityNotify to the watch of
// its window and lets every event on to Qt, which ignores these.
class ObscuredWatchFilter : public QAbstractNativeEventFilter {
  public:
    static ObscuredWatchFilter& instance() {
        static ObscuredWatchFilter* filter = [] {
            auto* f = new ObscuredWatchFilter;  // lives as long as the application
            QCoreApplication::instance()->installNativeEventFilter(f);
            return f;
        }();
        return *filter;
    }
    void add(ObscuredWatch* watch) { m_watches[watch->m_window] = watch; }
    void remove(ObscuredWatch* watch) {
        auto it = m_watches.find(watch->m_window);
        if (it != m_watches.end() && it->second == watch) m_watches.erase(it);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_VISIBILITY_NOTIFY) return false;
        const auto* visibility = static_cast<const xcb_visibility_notify_event_t*>(message);
        auto it = m_watches.find(visibility->window);
        if (it != m_watches.end()) it->second->notify(visibility->state == XCB_VISIBILITY_FULLY_OBSCURED);
        return false;
    }

  private:
    std::map<unsigned, ObscuredWatch*> m_watches;
};

ObscuredWatch::ObscuredWatch(QWidget& window, std::function<void(bool)> changed)
    : m_changed(std::move(changed)) {
    xcb_connection_t* c = x11Connection();
    if (!c || !QCoreApplication::instance()) return;
    const auto id = xcb_window_t(window.internalWinId());
    if (id == 0) return;
    // The event mask is this client's own for the window: add to what Qt chose.
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr);
    if (!attributes) return;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
    std::free(attributes);
    xcb_change_window_attributes(c, id, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    m_window = id;
    ObscuredWatchFilter::instance().add(this);
}

ObscuredWatch::~ObscuredWatch() {
    if (m_window) ObscuredWatchFilter::instance().remove(this);
}

void ObscuredWatch::notify(bool obscured) {
    if (obscured == m_obscured) return;
    m_obscured = obscured;
    if (m_changed) m_changed(obscured);
}

}  // namespace platform
