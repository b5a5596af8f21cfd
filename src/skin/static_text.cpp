#include "skin/static_text.h"

void CStaticText::Draw(QPainter* pDC) {
    const QRectF box(m_rect.left, m_rect.top, RectWidth(m_rect), RectHeight(m_rect));
    skin::drawSkinLine(pDC, box, m_strText, m_nFontSize, m_crText, m_nAlign);
}
