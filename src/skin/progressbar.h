#pragma once

#include <QRectF>
#include <array>
#include <vector>

#include "skin/controls.h"

// The vertical bar gauge: a bar growing up from the bottom edge, its value riding
// on top, and five scale labels (0, 1/4, 1/2, 3/4, full range). Its track is part
// of the owner's background, so the picture given to Create is never drawn.
class CProgressbar : public CControls {
  public:
    void Draw(QPainter* pDC) override;
    uint64_t DrawState() const override;
    bool DescribeDrawing(QSize surface, skin::Recording& drawing) const override;
    // Range 0..nMax; labels "0", nMax x 0.25, 0.5, 0.75 (truncated), nMax.
    void SetRange(int nMax);
    void SetScaleRects(const std::array<QRectF, 5>& rects);
    platform::AccessibleItem Describe() const override;

    // No repaint: the owner's next paint shows it.
    void SetPos(int nPos) { m_nPos = nPos; }
    int Pos() const { return m_nPos; }
    int Min() const { return m_nMin; }
    int Max() const { return m_nMax; }
    const std::array<QRectF, 5>& ScaleRects() const { return m_scaleRects; }
    const std::array<QString, 5>& ScaleTexts() const { return m_scaleTexts; }

  private:
    // Rows of the bar at the value, and the box its value label is centred in.
    int BarHeight() const;
    QRect BarRect(int height) const;
    QRectF ValueBox(int height) const;

    std::array<QRectF, 5> m_scaleRects{};
    std::array<QString, 5> m_scaleTexts{};
    // The scale's share of DrawState(), kept since it changes only with the scale.
    uint64_t m_scaleKey = 0;  // none until a scale is set
    void KeepScaleKey();
    // The scale labels' parts as DescribeDrawing last placed them, and for which scale and font.
    struct ScaleParts {
        uint64_t key = 0;
        std::vector<skin::PaintRecorder::Part> parts;
    };
    mutable ScaleParts m_scaleParts;
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nPos = 0;
};
