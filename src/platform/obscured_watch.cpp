#include "platform/obscured_watch.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QRegion>
#include <QWidget>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "platform/x11_connection.h"

namespace platform {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using Owned = std::unique_ptr<Reply, FreeReply>;

// Adds `extra` to the events this client hears of `window`: the mask is this
// client's own, so it keeps what Qt chose.
bool addEvents(xcb_connection_t* c, xcb_window_t window, uint32_t extra) {
    const Owned<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    if (!attributes) return false;
    const uint32_t mask = attributes->your_event_mask | extra;
    if (mask != attributes->your_event_mask)
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
    return true;
}

// The child of the root that holds `window` (itself, or the frame a window
// manager put it in); 0 when it cannot be told.
xcb_window_t topAncestor(xcb_connection_t* c, xcb_window_t window, xcb_window_t& root) {
    for (int depth = 0; depth < 16; ++depth) {
        const Owned<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        if (!tree) return 0;
        root = tree->root;
        if (tree->parent == tree->root || tree->parent == XCB_NONE) return window;
        window = tree->parent;
    }
    return 0;
}

// Whether the opaque windows mapped above `window`'s top ancestor cover all of it.
bool stackedOver(xcb_connection_t* c, xcb_window_t window) {
    xcb_window_t root = XCB_NONE;
    const xcb_window_t top = topAncestor(c, window, root);
    if (!top) return false;
    const Owned<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree) return false;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    int at = 0;  // children run from the bottom of the stack to the top
    while (at < count && children[at] != top) ++at;
    if (at == count) return false;
    // All requests first, then the replies: one round trip for the lot.
    std::vector<xcb_get_geometry_cookie_t> geometries;
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    for (int i = at; i < count; ++i) {
        geometries.push_back(xcb_get_geometry(c, children[i]));
        attributes.push_back(xcb_get_window_attributes(c, children[i]));
    }
    QRect own;
    QRegion above;
    for (size_t i = 0; i < geometries.size(); ++i) {
        const Owned<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(c, geometries[i], nullptr));
        const Owned<xcb_get_window_attributes_reply_t> a(
            xcb_get_window_attributes_reply(c, attributes[i], nullptr));
        if (!g || !a) continue;
        const int border = g->border_width;
        const QRect box(g->x, g->y, g->width + 2 * border, g->height + 2 * border);
        if (i == 0) {
            own = box;
            continue;
        }
        const bool opaque = g->depth != 32 && a->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT;
        if (a->map_state == XCB_MAP_STATE_VIEWABLE && opaque) above += box;
    }
    return !own.isEmpty() && (QRegion(own) - above).isEmpty();
}

}  // namespace

// One filter for the application: it hands each VisibilityNotify to the watch of
// its window, and any change of the windows on the screen to every watch. Every
// event goes on to Qt.
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
        switch (event->response_type & 0x7F) {
            case XCB_VISIBILITY_NOTIFY: {
                const auto* visibility = static_cast<const xcb_visibility_notify_event_t*>(message);
                auto it = m_watches.find(visibility->window);
                if (it != m_watches.end())
                    it->second->said(visibility->state == XCB_VISIBILITY_FULLY_OBSCURED);
                break;
            }
            case XCB_MAP_NOTIFY:
            case XCB_UNMAP_NOTIFY:
            case XCB_CONFIGURE_NOTIFY:
            case XCB_CIRCULATE_NOTIFY:
            case XCB_DESTROY_NOTIFY:
            case XCB_REPARENT_NOTIFY:
                LookAgainSoon();
                break;
            default:
                break;
        }
        return false;
    }

  private:
    // A move or a restack comes as a burst of events: look once, after them.
    void LookAgainSoon() {
        if (m_queued || m_watches.empty()) return;
        m_queued = true;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this] {
                m_queued = false;
                // A handler may end a watch: look at a copy.
                std::vector<unsigned> windows;
                for (const auto& [window, watch] : m_watches) windows.push_back(window);
                for (unsigned window : windows)
                    if (auto it = m_watches.find(window); it != m_watches.end()) it->second->restacked();
            },
            Qt::QueuedConnection);
    }

    std::map<unsigned, ObscuredWatch*> m_watches;
    bool m_queued = false;
};

ObscuredWatch::ObscuredWatch(QWidget& window, std::function<void(bool)> changed)
    : m_changed(std::move(changed)) {
    xcb_connection_t* c = x11Connection();
    if (!c || !QCoreApplication::instance()) return;
    const auto id = xcb_window_t(window.internalWinId());
    if (id == 0 || !addEvents(c, id, XCB_EVENT_MASK_VISIBILITY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY))
        return;
    // Windows coming, going and moving anywhere on the screen.
    xcb_window_t root = XCB_NONE;
    if (topAncestor(c, id, root) && root != XCB_NONE) addEvents(c, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    xcb_flush(c);
    m_window = id;
    ObscuredWatchFilter::instance().add(this);
    m_stackedOver = stackedOver(c, id);
}

ObscuredWatch::~ObscuredWatch() {
    if (m_window) ObscuredWatchFilter::instance().remove(this);
}

void ObscuredWatch::said(bool obscured) {
    const bool before = this->obscured();
    m_saidObscured = obscured;
    settle(before);
}

void ObscuredWatch::restacked() {
    xcb_connection_t* c = x11Connection();
    if (!c) return;
    const bool before = obscured();
    m_stackedOver = stackedOver(c, m_window);
    settle(before);
}

void ObscuredWatch::settle(bool before) {
    if (obscured() != before && m_changed) m_changed(obscured());
}

}  // namespace platform
