#include "skin/animation.h"

#include "skin/dialog_base.h"
#include "skin/draw_state.h"
#include "skin/picture_cache.h"

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

const skin::Recording* CAnimation::DescribeDrawing(QSize) {
    const uint64_t told = DrawState();
    if (told == m_toldFor) return &m_told;
    std::vector<skin::PaintRecorder::Part> parts;
    if (const skin::PaintRecorder::Part frame = PicturePart(m_strImage, m_nFrame); !frame.bounds.isEmpty())
        parts.push_back(frame);
    m_told = skin::recordingOf(std::move(parts));
    m_toldFor = told;
    return &m_told;
}

uint64_t CAnimation::DrawState() const {
    const QImage* picture = skin::PictureCache::instance().get(m_strImage);
    return skin::DrawStateKey()
        .add(m_rect)
        .add(m_nFrame)
        .add(uint64_t(picture ? picture->cacheKey() : 0))
        .value();
}
