#include "platform/hot_key_control.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include "platform/hot_key.h"
#include "platform/virtual_keys.h"
#include "platform/win_window.h"

namespace platform {
namespace {

struct KeyPair {
    int qtKey;
    int vk;
};

// Punctuation by its unshifted symbol, as the US layout places it.
constexpr KeyPair kPunctuation[] = {
    {Qt::Key_Semicolon, 0xBA},    {Qt::Key_Equal, 0xBB},       {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},        {Qt::Key_Period, 0xBE},      {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
};

// Shifted symbols and the key they are typed on.
constexpr KeyPair kShifted[] = {
    {Qt::Key_Exclam, '1'},     {Qt::Key_At, '2'},          {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},     {Qt::Key_Percent, '5'},     {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},  {Qt::Key_Asterisk, '8'},    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'}, {Qt::Key_Colon, 0xBA},      {Qt::Key_Plus, 0xBB},
    {Qt::Key_Less, 0xBC},      {Qt::Key_Underscore, 0xBD}, {Qt::Key_Greater, 0xBE},
    {Qt::Key_Question, 0xBF},  {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Bar, 0xDC},       {Qt::Key_BraceRight, 0xDD}, {Qt::Key_QuoteDbl, 0xDE},
};

constexpr KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Slash, 0x6F},
};

constexpr KeyPair kOthers[] = {
    {Qt::Key_Pause, 0x13},       {Qt::Key_ScrollLock, 0x91},   {Qt::Key_NumLock, 0x90},
    {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Return, VK_RETURN},  {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},       {Qt::Key_Space, VK_SPACE},    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},        {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},     {Qt::Key_Print, VK_SNAPSHOT}, {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
};

template <size_t N>
int lookUp(const KeyPair (&table)[N], int qtKey) {
    for (const KeyPair& p : table)
        if (p.qtKey == qtKey) return p.vk;
    return 0;
}

template <size_t N>
int lookUpQt(const KeyPair (&table)[N], int vk) {
    for (const KeyPair& p : table)
        if (p.vk == vk) return p.qtKey;
    return 0;
}

bool isExtended(int vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE || vk == 0x6F ||
           vk == 0x90;
}

bool isModifierKey(int qtKey) {
    return qtKey == Qt::Key_Shift || qtKey == Qt::Key_Control || qtKey == Qt::Key_Alt ||
           qtKey == Qt::Key_Meta || qtKey == Qt::Key_AltGr;
}

int flagsOf(Qt::KeyboardModifiers m) {
    int flags = 0;
    if (m & Qt::ShiftModifier) flags |= HOTKEYF_SHIFT;
    if (m & Qt::ControlModifier) flags |= HOTKEYF_CONTROL;
    if (m & Qt::AltModifier) flags |= HOTKEYF_ALT;
    return flags;
}

int flagOfModifierKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Shift:
            return HOTKEYF_SHIFT;
        case Qt::Key_Control:
            return HOTKEYF_CONTROL;
        case Qt::Key_Alt:
            return HOTKEYF_ALT;
        default:
            return 0;
    }
}

QString keyName(int vk) {
    if (vk >= 0x60 && vk <= 0x69) return QStringLiteral("Num %1").arg(vk - 0x60);
    if (const int qtKey = lookUpQt(kKeypad, vk))
        return QStringLiteral("Num ") + QKeySequence(qtKey).toString();
    int qtKey = 0;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        qtKey = vk;  // Qt's codes for these are their ASCII codes
    else if (vk >= VK_F1 && vk <= VK_F1 + 23)
        qtKey = Qt::Key_F1 + (vk - VK_F1);
    else if (!(qtKey = lookUpQt(kPunctuation, vk)))
        qtKey = lookUpQt(kOthers, vk);
    if (!qtKey) return QStringLiteral("0x%1").arg(vk, 2, 16, QLatin1Char('0'));
    return QKeySequence(qtKey).toString(QKeySequence::NativeText);
}

}  // namespace

HotKeyPress hotKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
    HotKeyPress press;
    press.flags = flagsOf(modifiers);
    if (isModifierKey(qtKey)) return press;
    int vk = 0;
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            vk = 0x60 + (qtKey - Qt::Key_0);
        else if (qtKey == Qt::Key_Enter)
            vk = VK_RETURN;
        else
            vk = lookUp(kKeypad, qtKey);
    }
    if (!vk) vk = virtualKeyFromQtKey(qtKey);
    if (!vk) vk = lookUp(kPunctuation, qtKey);
    if (!vk) vk = lookUp(kShifted, qtKey);
    if (!vk) vk = lookUp(kOthers, qtKey);
    press.virtualKey = vk;
    if (vk && isExtended(vk)) press.flags |= HOTKEYF_EXT;
    return press;
}

QString hotKeyText(uint16_t value) {
    const int vk = value & 0xFF;
    const int flags = value >> 8;
    if (vk == 0 && (flags & ~HOTKEYF_EXT) == 0) return QCoreApplication::translate("HotKeyControl", "None");
    QString text;
    if (flags & HOTKEYF_CONTROL) text += QStringLiteral("Ctrl + ");
    if (flags & HOTKEYF_SHIFT) text += QStringLiteral("Shift + ");
    if (flags & HOTKEYF_ALT) text += QStringLiteral("Alt + ");
    if (vk) text += keyName(vk);
    return text;
}

HotKeyControl::HotKeyControl(QWidget* parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    display(0);
}

void HotKeyControl::SetHotKey(uint16_t value) {
    m_value = value;
    display(value);
}

void HotKeyControl::display(uint16_t value) {
    setText(hotKeyText(value));
    setCursorPosition(text().size());
}

bool HotKeyControl::event(QEvent* e) {
    // Every combination is ours while we have the focus, even one that is a
    // shortcut elsewhere; Tab still moves the focus.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() != Qt::Key_Tab && k->key() != Qt::Key_Backtab) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void HotKeyControl::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    const Qt::KeyboardModifiers mods =
        e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (!mods && (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        e->ignore();  // the dialog's own keys
        return;
    }
    e->accept();
    if (!mods && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
        SetHotKey(0);
        m_keyTaken = true;
        emit hotKeyChanged();
        return;
    }
    const HotKeyPress press = hotKeyFromQt(key, e->modifiers());
    if (isModifierKey(key)) {
        if (m_keyTaken) return;  // the combination stays until every key is up
        m_value = hotKeyValue(0, press.flags | flagOfModifierKey(key));
        display(m_value);
        emit hotKeyChanged();
        return;
    }
    if (!press.virtualKey) return;
    m_keyTaken = true;
    SetHotKey(hotKeyValue(press.virtualKey, press.flags));
    emit hotKeyChanged();
}

void HotKeyControl::keyReleaseEvent(QKeyEvent* e) {
    e->accept();
    if (e->isAutoRepeat()) return;
    const bool modifier = isModifierKey(e->key());
    const int remaining = flagsOf(e->modifiers()) & ~flagOfModifierKey(e->key());
    if (remaining) {
        if (!m_keyTaken && modifier) {
            m_value = hotKeyValue(0, remaining);
            display(m_value);
            emit hotKeyChanged();
        }
        return;
    }
    // Modifiers pressed and released without a key leave no combination.
    if (!m_keyTaken && modifier) {
        SetHotKey(0);
        emit hotKeyChanged();
    }
    m_keyTaken = false;
}

}  // namespace platform
