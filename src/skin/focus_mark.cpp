#include "skin/focus_mark.h"

#include <QPen>

#include "skin/dialog_base.h"
#include "skin/draw_state.h"

namespace skin {

void FocusMark::Draw(QPainter* pDC) {
    if (!m_pTarget || !m_pTarget->IsShown() || !m_pTarget->IsEnabled()) return;
    // The keys go to another window meanwhile.
    if (!m_pOwner || m_pOwner->Deactivated()) return;
    const RECT& r = m_pTarget->Rect();
    if (RectWidth(r) < 3 || RectHeight(r) < 3) return;
    // Dark under light: seen on the light and on the dark parts of the skins.
    const QRect box(r.left, r.top, RectWidth(r) - 1, RectHeight(r) - 1);
    pDC->setBrush(Qt::NoBrush);
    pDC->setPen(QPen(QColor(0, 0, 0, 200), 1));
    pDC->drawRect(box.adjusted(1, 1, -1, -1));
    QPen dashes(QColor(255, 220, 64), 1, Qt::DashLine);
    pDC->setPen(dashes);
    pDC->drawRect(box);
}

uint64_t FocusMark::DrawState() const {
    DrawStateKey key;
    key.add(uint64_t(reinterpret_cast<uintptr_t>(m_pTarget))).add(int(m_pOwner && m_pOwner->Deactivated()));
    if (m_pTarget) key.add(m_pTarget->Rect()).add(int(m_pTarget->IsShown())).add(int(m_pTarget->IsEnabled()));
    return key.value();
}

}  // namespace skin
