#include "platform/hot_key.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "platform/display_choice.h"
#include "platform/portal_shortcut.h"
#include "platform/x11_connection.h"

namespace platform {

uint32_t hotKeyModifiers(int controlFlags) {
    uint32_t m = 0;
    if (controlFlags & HOTKEYF_SHIFT) m |= MOD_SHIFT;
    if (controlFlags & HOTKEYF_CONTROL) m |= MOD_CONTROL;
    if (controlFlags & HOTKEYF_ALT) m |= MOD_ALT;
    return m;
}

namespace {

struct NamedKey {
    int vk;
    uint32_t keysym;
    const char* name;  // the keysym's name, as shortcut triggers spell it
};

constexpr NamedKey kNamedKeys[] = {
    {0x08, 0xFF08, "BackSpace"},   {0x09, 0xFF09, "Tab"},         {0x0D, 0xFF0D, "Return"},
    {0x13, 0xFF13, "Pause"},       {0x1B, 0xFF1B, "Escape"},      {0x20, 0x0020, "space"},
    {0x21, 0xFF55, "Page_Up"},     {0x22, 0xFF56, "Page_Down"},   {0x23, 0xFF57, "End"},
    {0x24, 0xFF50, "Home"},        {0x25, 0xFF51, "Left"},        {0x26, 0xFF52, "Up"},
    {0x27, 0xFF53, "Right"},       {0x28, 0xFF54, "Down"},        {0x2C, 0xFF61, "Print"},
    {0x2D, 0xFF63, "Insert"},      {0x2E, 0xFFFF, "Delete"},      {0x6A, 0xFFAA, "KP_Multiply"},
    {0x6B, 0xFFAB, "KP_Add"},      {0x6D, 0xFFAD, "KP_Subtract"}, {0x6E, 0xFFAE, "KP_Decimal"},
    {0x6F, 0xFFAF, "KP_Divide"},   {0x91, 0xFF14, "Scroll_Lock"}, {0xBA, 0x003B, "semicolon"},
    {0xBB, 0x003D, "equal"},       {0xBC, 0x002C, "comma"},       {0xBD, 0x002D, "minus"},
    {0xBE, 0x002E, "period"},      {0xBF, 0x002F, "slash"},       {0xC0, 0x0060, "grave"},
    {0xDB, 0x005B, "bracketleft"}, {0xDC, 0x005C, "backslash"},   {0xDD, 0x005D, "bracketright"},
    {0xDE, 0x0027, "apostrophe"},
};

}  // namespace

uint32_t keysymForVirtualKey(int vk) {
    if (vk >= 'A' && vk <= 'Z') return uint32_t(vk - 'A' + 'a');  // X grabs the unshifted keysym
    if (vk >= '0' && vk <= '9') return uint32_t(vk);
    if (vk >= 0x60 && vk <= 0x69) return 0xFFB0 + uint32_t(vk - 0x60);  // keypad digits
    if (vk >= 0x70 && vk <= 0x87) return 0xFFBE + uint32_t(vk - 0x70);  // F1 .. F24
    for (const auto& e : kNamedKeys)
        if (e.vk == vk) return e.keysym;
    return 0;
}

QString portalTrigger(int vk, uint32_t modifiers) {
    QString key;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        key = QChar(char16_t(keysymForVirtualKey(vk)));
    else if (vk >= 0x60 && vk <= 0x69)
        key = QStringLiteral("KP_%1").arg(vk - 0x60);
    else if (vk >= 0x70 && vk <= 0x87)
        key = QStringLiteral("F%1").arg(vk - 0x70 + 1);
    for (const auto& e : kNamedKeys)
        if (e.vk == vk) key = QString::fromLatin1(e.name);
    if (key.isEmpty()) return {};
    QString trigger;
    if (modifiers & MOD_CONTROL) trigger += QLatin1String("CTRL+");
    if (modifiers & MOD_ALT) trigger += QLatin1String("ALT+");
    if (modifiers & MOD_SHIFT) trigger += QLatin1String("SHIFT+");
    return trigger + key;
}

uint16_t x11ModifierMask(uint32_t modifiers) {
    uint16_t m = 0;
    if (modifiers & MOD_SHIFT) m |= XCB_MOD_MASK_SHIFT;
    if (modifiers & MOD_CONTROL) m |= XCB_MOD_MASK_CONTROL;
    if (modifiers & MOD_ALT) m |= XCB_MOD_MASK_1;
    return m;
}

namespace {

constexpr uint32_t kNumLockKeysym = 0xFF7F;

xcb_window_t rootWindow(xcb_connection_t* c) {
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

// The modifier bit Num Lock sits on (Mod2 on nearly every layout).
uint16_t numLockMask(xcb_connection_t* c, xcb_key_symbols_t* symbols) {
    uint16_t mask = XCB_MOD_MASK_2;
    xcb_keycode_t* numLock = xcb_key_symbols_get_keycode(symbols, kNumLockKeysym);
    xcb_get_modifier_mapping_reply_t* map =
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    if (numLock && map) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map);
        const int perModifier = map->keycodes_per_modifier;
        for (int mod = 0; mod < 8; ++mod)
            for (int k = 0; k < perModifier; ++k)
                for (const xcb_keycode_t* n = numLock; *n != XCB_NO_SYMBOL; ++n)
                    if (codes[mod * perModifier + k] == *n) mask = uint16_t(1u << mod);
    }
    free(map);
    free(numLock);
    return mask;
}

}  // namespace

GlobalHotKey::GlobalHotKey(std::function<void()> onPress, std::function<void(const QString&)> onRefused)
    : m_onPress(std::move(onPress)), onRefused_(std::move(onRefused)) {}

GlobalHotKey::~GlobalHotKey() {
    unregisterKey();
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool GlobalHotKey::usesPortal() {
    return runsOnWayland();
}

bool GlobalHotKey::available() {
    if (x11Connection()) return true;
    return usesPortal() && PortalShortcut::available(QDBusConnection::sessionBus());
}

bool GlobalHotKey::isRegistered() const {
    return !m_keycodes.empty() || (portal_ && !portal_->failed());
}

bool GlobalHotKey::registerWithPortal(int virtualKey, uint32_t modifiers) {
    const QString trigger = portalTrigger(virtualKey, modifiers);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (trigger.isEmpty() || !PortalShortcut::available(bus)) return false;
    // Kept after a refusal (isRegistered then says false): it is deleted by the
    // next registration, never from inside its own answer.
    portal_ = std::make_unique<PortalShortcut>(bus, m_onPress, [this](const QString& why) {
        if (onRefused_) onRefused_(why);
    });
    portal_->bind(QStringLiteral("screenshot"),
                  QCoreApplication::translate("GlobalHotKey", "Save a screenshot of the Vantrel window"),
                  trigger);
    return true;
}

bool GlobalHotKey::registerKey(int virtualKey, uint32_t modifiers) {
    unregisterKey();
    if (usesPortal()) return registerWithPortal(virtualKey, modifiers);
    xcb_connection_t* c = x11Connection();
    const uint32_t keysym = keysymForVirtualKey(virtualKey);
    if (!c || !keysym) return false;
    const xcb_window_t root = rootWindow(c);
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    if (!symbols || root == XCB_WINDOW_NONE) {
        xcb_key_symbols_free(symbols);
        return false;
    }
    m_root = root;
    m_mask = x11ModifierMask(modifiers);
    const uint16_t numLock = numLockMask(c, symbols);
    // The press must count whatever the lock keys' state is.
    const uint16_t locks[4] = {0, XCB_MOD_MASK_LOCK, numLock, uint16_t(XCB_MOD_MASK_LOCK | numLock)};
    std::copy(std::begin(locks), std::end(locks), m_lockMasks);

    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    bool ok = codes && *codes != XCB_NO_SYMBOL;
    for (const xcb_keycode_t* k = codes; ok && *k != XCB_NO_SYMBOL; ++k) {
        for (uint16_t lock : locks) {
            xcb_void_cookie_t cookie = xcb_grab_key_checked(c, 1, root, uint16_t(m_mask | lock), *k,
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
                free(error);  // held by another program
                ok = false;
                break;
            }
        }
        m_keycodes.push_back(*k);
    }
    free(codes);
    xcb_key_symbols_free(symbols);
    if (!ok) {
        unregisterKey();
        return false;
    }
    if (!m_filterInstalled) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    xcb_flush(c);
    return true;
}

void GlobalHotKey::unregisterKey() {
    portal_.reset();
    xcb_connection_t* c = m_keycodes.empty() ? nullptr : x11Connection();
    if (c) {
        const xcb_window_t root = rootWindow(c);
        for (xcb_keycode_t k : m_keycodes)
            for (uint16_t lock : m_lockMasks) xcb_ungrab_key(c, k, root, uint16_t(m_mask | lock));
        xcb_flush(c);
    }
    m_keycodes.clear();
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (m_keycodes.empty() || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
    const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
    const uint16_t relevant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    if (press->event != m_root || (press->state & relevant) != m_mask) return false;
    if (std::find(m_keycodes.begin(), m_keycodes.end(), press->detail) == m_keycodes.end()) return false;
    if (m_onPress) m_onPress();
    return true;
}

}  // namespace platform
