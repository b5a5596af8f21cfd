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

bool CAnimation::DescribeDrawing(QSize, skin::Recording& drawing) const {
    const QImage* picture = skin::PictureCache::instance().get(m_strImage);
    std::vector<skin::PaintRecorder::Part> parts;
    if (const skin::PaintRecorder::Part part = PicturePart(picture, m_nFrame); !part.bounds.isEmpty())
        parts.push_back(part);
    drawing = skin::recordingOf(std::move(parts));
    return true;
}

uint64_t CAnimation::DrawState() const {
    const QImage* picture = skin::PictureCache::instance().get(m_strImage);
    return skin::DrawStateKey()
        .add(m_rect)
        .add(m_nFrame)
        .add(uint64_t(picture ? picture->cacheKey() : 0))
        .value();
}
