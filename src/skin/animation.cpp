#include "skin/animation.h"

#include "skin/dialog_base.h"

void CAnimation::Init() {
    m_nTimerID = kTimerId;
    m_pOwner->SetTimer(kTimerId, 500);
}

void CAnimation::Draw(QPainter* pDC) {
    DrawPicture(pDC, m_strImage, m_nFrame);
}

void CAnimation::OnTimer() {
    m_nFrame = m_nFrame >= m_nFrameCount - 1 ? 0 : m_nFrame + 1;
    RedrawNow(m_rect);
}
