#pragma once

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
    bool DescribeDrawing(QSize surface, skin::Recording& drawing) const override;

    // Frames in the picture strip; the shown frame starts over past the last.
    void SetFrameCount(int count) { m_nFrameCount = count; }
    int FrameCount() const { return m_nFrameCount; }
    void SetFrame(int frame) { m_nFrame = frame; }
    int Frame() const { return m_nFrame; }

  private:
    int m_nFrame = 0;
    int m_nFrameCount = 2;
};
