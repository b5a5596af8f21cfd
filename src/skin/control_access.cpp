// What each kind of skinned control tells assistive technology, and the press
// and value changes that the keyboard and assistive technology make.
#include "platform/truncate.h"
#include "skin/animation.h"
#include "skin/button_ex.h"
#include "skin/dialog_base.h"
#include "skin/menu_list.h"
#include "skin/progressbar.h"
#include "skin/static_text.h"
#include "skin/super_sliders.h"

using platform::AccessibleItem;
using platform::AccessibleRole;

AccessibleItem CControls::Describe() const {
    return {};
}

bool CControls::Press() {
    if (!IsShown() || !IsEnabled() || !m_pOwner) return false;
    const LPARAM centre = MAKELPARAM((m_rect.left + m_rect.right) / 2, (m_rect.top + m_rect.bottom) / 2);
    OnMessage(WM_LBUTTONDOWN, 0, centre);
    OnMessage(WM_LBUTTONUP, 0, centre);
    // No press of the background is in progress, whatever the pointer does next.
    m_pOwner->PressEndedWithoutPointer();
    return true;
}

AccessibleItem CButtonEx::Describe() const {
    AccessibleItem item;
    // A button inside a composite control (a slider's arrows, a list's head)
    // is presented by that control.
    if (m_pLinkTarget && m_pLinkTarget->Describe().role != AccessibleRole::None) return item;
    item.role = AccessibleRole::Button;
    item.name = AccessibleNameOrText();
    item.focusable = true;
    return item;
}

AccessibleItem CCheckButtonEx::Describe() const {
    AccessibleItem item = CButtonEx::Describe();
    if (item.role == AccessibleRole::None) return item;
    item.role = m_group.empty() ? AccessibleRole::CheckButton : AccessibleRole::RadioButton;
    item.checked = m_bCheck;
    return item;
}

AccessibleItem CSuperSliders::Describe() const {
    AccessibleItem item;
    item.role = AccessibleRole::Slider;
    item.name = m_strAccessibleName.isEmpty() ? m_txtTitle.Text() : m_strAccessibleName;
    item.value = QString::number(platform::truncateToInt(m_fPos));
    if (!m_strAccessibleUnit.isEmpty()) item.value += QLatin1Char(' ') + m_strAccessibleUnit;
    item.hasRange = true;
    item.current = m_fPos;
    item.minimum = m_fMin;
    item.maximum = m_fMax;
    item.step = m_fStep;
    item.focusable = true;
    return item;
}

bool CSuperSliders::SetValue(double value) {
    if (!IsShown() || !IsEnabled()) return false;
    const float before = m_fPos;
    SetPos(float(value));
    if (m_fPos != before) NotifyValueChanged();
    return true;
}

AccessibleItem CProgressbar::Describe() const {
    AccessibleItem item;
    item.role = AccessibleRole::ProgressBar;
    item.name = AccessibleNameOrText();
    item.value = QString::number(m_nPos);
    if (!m_strAccessibleUnit.isEmpty()) item.value += QLatin1Char(' ') + m_strAccessibleUnit;
    item.description = item.value;  // the numeric value alone carries no unit
    item.hasRange = true;
    item.current = m_nPos;
    item.minimum = m_nMin;
    item.maximum = m_nMax;
    return item;
}

AccessibleItem CStaticText::Describe() const {
    AccessibleItem item;
    if (m_strText.isEmpty()) return item;
    item.role = AccessibleRole::Label;
    item.name = m_strText;
    return item;
}

AccessibleItem CAnimation::Describe() const {
    AccessibleItem item;
    item.role = AccessibleRole::Image;
    item.name = m_strAccessibleName;
    return item;
}

AccessibleItem CMenuList::Describe() const {
    AccessibleItem item;
    item.role = AccessibleRole::ComboBox;
    item.name = m_strAccessibleName;
    item.value = m_items.value(m_nCurSel);
    item.description = m_items.join(QStringLiteral(", "));
    item.focusable = true;
    return item;
}

AccessibleItem CMenuItem::Describe() const {
    AccessibleItem item;
    item.role = AccessibleRole::ListItem;
    item.name = m_strText;
    item.focusable = true;
    return item;
}
