#include "skin/animation.h"

#include <cstring>

#include "skin/dialog_base.h"
#include "skin/draw_state.h"
#include "skin/picture_cache.h"

void CAnimation::Init() {
    m_nTimerID = kTimerId;
    m_pOwner->SetTimer(kTimerId, 500);
}

void CAnimation::Draw(QPainter* pDC) {
    const QImage* picture = skin::PictureCache::instance().get(m_strImage);
    const std::vector<Piece> pieces = Pieces(picture);
    if (pieces.empty()) {
        DrawPicture(pDC, m_strImage, m_nFrame);
        return;
    }
    for (const Piece& piece : pieces) pDC->drawImage(piece.pixels.topLeft(), *picture, piece.source);
}

void CAnimation::OnTimer() {
    m_nFrame = m_nFrame >= m_nFrameCount - 1 ? 0 : m_nFrame + 1;
    // The still pixels are the same in every frame: only the moving box is drawn again.
    const std::vector<Piece> pieces = Pieces(skin::PictureCache::instance().get(m_strImage));
    if (pieces.empty()) {
        if (!m_pOwner->ShowKnownFrame(*this,
                                      QRect(m_rect.left, m_rect.top, RectWidth(m_rect), RectHeight(m_rect))))
            RedrawNow(m_rect);
        return;
    }
    const QRect box = pieces.back().pixels;
    if (m_pOwner->ShowKnownFrame(*this, box)) return;
    RedrawNow(RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1});
}

bool CAnimation::DescribeDrawing(QSize, skin::Recording& drawing) const {
    const QImage* picture = skin::PictureCache::instance().get(m_strImage);
    std::vector<skin::PaintRecorder::Part> parts;
    const std::vector<Piece> pieces = Pieces(picture);
    for (const Piece& piece : pieces) {
        skin::DrawStateKey key;
        key.add(QRectF(piece.pixels)).add(uint64_t(picture->cacheKey()));
        if (!piece.still) key.add(m_nFrame);
        parts.push_back({piece.pixels, key.value()});
    }
    if (pieces.empty())
        if (const skin::PaintRecorder::Part part = PicturePart(picture, m_nFrame); !part.bounds.isEmpty())
            parts.push_back(part);
    drawing = skin::recordingOf(std::move(parts));
    return true;
}

std::vector<CAnimation::Piece> CAnimation::Pieces(const QImage* picture) const {
    const int w = RectWidth(m_rect);
    const int h = RectHeight(m_rect);
    if (!picture || w <= 0 || h <= 0 || m_nFrame < 0 || m_nFrame >= m_nFrameCount) return {};
    const QRect box = MovingBox(*picture);
    if (box.isEmpty() || box == QRect(0, 0, w, h)) return {};
    const QRect still[] = {QRect(0, 0, w, box.top()), QRect(0, box.top(), box.left(), box.height()),
                           QRect(box.right() + 1, box.top(), w - box.right() - 1, box.height()),
                           QRect(0, box.bottom() + 1, w, h - box.bottom() - 1)};
    const QPoint at(m_rect.left, m_rect.top);
    const QPoint frame(m_nFrame * w, 0);
    std::vector<Piece> pieces;
    for (const QRect& r : still)
        if (!r.isEmpty())
            pieces.push_back({r, r.translated(at), true});  // the same in every frame: the first
    pieces.push_back({box.translated(frame), box.translated(at), false});
    return pieces;
}

QRect CAnimation::MovingBox(const QImage& picture) const {
    const QSize frame(RectWidth(m_rect), RectHeight(m_rect));
    if (m_moving.picture == picture.cacheKey() && m_moving.frame == frame && m_moving.frames == m_nFrameCount)
        return m_moving.box;
    m_moving = {picture.cacheKey(), frame, m_nFrameCount, QRect()};
    // Only a whole strip of whole-byte pixels is split; anything else moves as one.
    const int bytes = picture.depth() / 8;
    if (picture.depth() % 8 || bytes == 0 || frame.isEmpty() || m_nFrameCount < 2 ||
        int64_t(frame.width()) * m_nFrameCount > picture.width() || frame.height() > picture.height())
        return m_moving.box = QRect(QPoint(0, 0), frame);
    const size_t rowBytes = size_t(frame.width()) * size_t(bytes);
    int top = frame.height(), bottom = -1, left = frame.width(), right = -1;
    for (int y = 0; y < frame.height(); ++y) {
        const uchar* row = picture.constScanLine(y);
        for (int f = 1; f < m_nFrameCount; ++f) {
            const uchar* other = row + size_t(f) * rowBytes;
            if (std::memcmp(row, other, rowBytes) == 0) continue;
            int first = 0;
            while (std::memcmp(row + size_t(first) * bytes, other + size_t(first) * bytes, bytes) == 0)
                ++first;
            int last = frame.width() - 1;
            while (std::memcmp(row + size_t(last) * bytes, other + size_t(last) * bytes, bytes) == 0) --last;
            top = std::min(top, y);
            bottom = y;
            left = std::min(left, first);
            right = std::max(right, last);
        }
    }
    if (bottom >= 0) m_moving.box = QRect(QPoint(left, top), QPoint(right, bottom));
    return m_moving.box;
}

uint64_t CAnimation::DrawState() const {
    return skin::DrawStateKey().add(StillState()).add(m_nFrame).value();
}

uint64_t CAnimation::StillState() const {
    const QImage* picture = skin::PictureCache::instance().get(m_strImage);
    return skin::DrawStateKey()
        .add(m_rect)
        .add(m_nFrameCount)
        .add(uint64_t(picture ? picture->cacheKey() : 0))
        .value();
}
