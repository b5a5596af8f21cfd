#include "skin/static_text.h"

#include "skin/draw_state.h"

void CStaticText::Draw(QPainter* pDC) {
    const QRectF box(m_rect.left, m_rect.top, RectWidth(m_rect), RectHeight(m_rect));
    skin::drawSkinLine(pDC, box, m_strText, m_nFontSize, m_crText, m_nAlign);
}

uint64_t CStaticText::DrawState() const {
    return skin::DrawStateKey()
        .add(m_rect)
        .add(m_strText)
        .add(uint64_t(m_crText))
        .add(m_nAlign)
        .add(m_nFontSize)
        .add(skin::skinFontGeneration())
        .value();
}
