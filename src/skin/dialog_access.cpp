// The keyboard focus of a skinned window and its controls as assistive
// technology sees them.
#include <algorithm>

#include "skin/dialog_base.h"

using platform::AccessibleItem;
using platform::AccessibleRole;

namespace {
constexpr int kPageSteps = 10;

bool pressable(AccessibleRole role) {
    return role == AccessibleRole::Button || role == AccessibleRole::CheckButton ||
           role == AccessibleRole::RadioButton || role == AccessibleRole::ComboBox ||
           role == AccessibleRole::ListItem;
}
}  // namespace

AccessibleItem CDialogBase::AccessibleItemAt(int index) const {
    if (index < 0 || size_t(index) >= m_controls.size()) return {};
    const CControls* control = m_controls[size_t(index)];
    AccessibleItem item = control->Describe();
    item.rect = control->Rect();
    item.shown = control->IsShown();
    item.enabled = control->IsEnabled();
    item.focusable = item.focusable && item.shown && item.enabled;
    item.focused = control == FocusedControl() && item.focusable;
    return item;
}

bool CDialogBase::PressAccessibleItem(int index) {
    if (index < 0 || size_t(index) >= m_controls.size()) return false;
    CControls* control = m_controls[size_t(index)];
    return pressable(control->Describe().role) && control->Press();
}

bool CDialogBase::SetAccessibleItemValue(int index, double value) {
    if (index < 0 || size_t(index) >= m_controls.size()) return false;
    if (!m_controls[size_t(index)]->SetValue(value)) return false;
    NotifyAccessibleValue(index);
    return true;
}

bool CDialogBase::FocusAccessibleItem(int index) {
    if (index < 0 || size_t(index) >= m_controls.size()) return false;
    CControls* control = m_controls[size_t(index)];
    if (!Focusable(control)) return false;
    SetFocusTo(control);
    return true;
}

bool CDialogBase::Focusable(const CControls* control) const {
    return control != &m_focusMark && control->IsShown() && control->IsEnabled() &&
           control->Describe().focusable;
}

void CDialogBase::SetFocusTo(CControls* control) {
    const auto mark = std::find(m_controls.begin(), m_controls.end(), &m_focusMark);
    if (mark == m_controls.end()) {
        m_focusMark.Create(this, 0, RECT{0, 0, 0, 0});
        m_focusMark.Enable(false);  // drawn, never fed the pointer or timers
    } else if (mark + 1 != m_controls.end()) {
        // Controls made since: the mark goes back over them.
        m_controls.erase(mark);
        m_controls.push_back(&m_focusMark);
    }
    m_focusMark.SetTarget(control);
    RedrawWindow(nullptr, RDW_INTERNALPAINT);
    UpdateWindow();
    const auto at = std::find(m_controls.begin(), m_controls.end(), control);
    NotifyAccessibleFocus(int(at - m_controls.begin()));
}

bool CDialogBase::OnSkinKey(int vk) {
    CControls* focused = FocusedControl();
    if (focused && !Focusable(focused)) focused = nullptr;
    if (focused && vk != VK_TAB && focused->OnKey(vk)) return true;
    if (OnFocusKey(vk, focused)) return true;
    // What neither used goes to an open drop-down, also to one the pointer opened.
    for (size_t i = 0; i < m_controls.size(); ++i) {
        CControls* control = m_controls[i];
        if (control != focused && control->IsShown() && control->IsEnabled() && control->OnKey(vk))
            return true;
    }
    return false;
}

bool CDialogBase::OnFocusKey(int vk, CControls* focused) {
    const int count = int(m_controls.size());
    switch (vk) {
        case VK_TAB: {
            const int step = KeyShifted() ? -1 : 1;
            int from = -1;
            if (focused)
                from = int(std::find(m_controls.begin(), m_controls.end(), focused) - m_controls.begin());
            else if (step < 0)
                from = count;
            for (int k = 1; k <= count + 1; ++k) {
                const int i = ((from + step * k) % (count + 1) + (count + 1)) % (count + 1);
                if (i < count && Focusable(m_controls[size_t(i)])) {
                    SetFocusTo(m_controls[size_t(i)]);
                    break;
                }
            }
            return true;
        }
        case VK_SPACE:
        case VK_RETURN:
            if (!focused) return false;
            focused->Press();
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT: {
            if (!focused) return false;
            const AccessibleItem item = focused->Describe();
            if (item.role != AccessibleRole::Slider) return false;
            int steps = (vk == VK_RIGHT || vk == VK_UP) ? 1 : -1;
            if (vk == VK_PRIOR) steps = kPageSteps;
            if (vk == VK_NEXT) steps = -kPageSteps;
            const auto at = std::find(m_controls.begin(), m_controls.end(), focused);
            SetAccessibleItemValue(int(at - m_controls.begin()), item.current + steps * item.step);
            return true;
        }
        default:
            return false;
    }
}
