#pragma once

#include <QRect>
#include <vector>

#include "skin/controls.h"

// A picture-strip animation on the owner's timer 500 (500 ms; the owner may
// restart that timer with another period). Each tick shows the next frame.
class CAnimation : public CControls {
  public:
    static constexpr UINT kTimerId = 500;

    void Init() override;
    void Draw(QPainter* pDC) override;
    void OnTimer() override;
    platform::AccessibleItem Describe() const override;
    uint64_t DrawState() const override;
    // DrawState() apart from the frame shown.
    uint64_t StillState() const;
    bool DescribeDrawing(QSize surface, skin::Recording& drawing) const override;

    // Frames in the picture strip; the shown frame starts over past the last.
    void SetFrameCount(int count) { m_nFrameCount = count; }
    int FrameCount() const { return m_nFrameCount; }
    void SetFrame(int frame) { m_nFrame = frame; }
    int Frame() const { return m_nFrame; }

  private:
    // Where the shown frame goes, in pieces: first the pixels that are the same
    // in every frame (a key without the frame), then the box where frames differ.
    // So a new frame changes the box only, and the pieces are what Draw draws.
    // None (draw the frame as one piece keyed by it) without a picture, where the
    // strip is not whole or where all of the frame moves.
    struct Piece {
        QRect source;  // in the picture
        QRect pixels;  // in the window
        bool still;
    };
    std::vector<Piece> Pieces(const QImage* picture) const;
    // The box of the frame (frame coordinates) outside which every frame has the
    // same pixels; empty where none differs. Kept for the picture and frames.
    QRect MovingBox(const QImage& picture) const;

    int m_nFrame = 0;
    int m_nFrameCount = 2;
    struct MovingBoxFor {
        qint64 picture = 0;
        QSize frame;
        int frames = 0;
        QRect box;
    };
    mutable MovingBoxFor m_moving;
};
