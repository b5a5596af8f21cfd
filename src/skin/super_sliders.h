// The horizontal slider of the tuning panels: a fill bar and a thumb over a track
// in the panel's background, arrow buttons at both ends, a title label and a value
// label. Values are 32-bit floats; conversions to integers truncate toward zero.
#pragma once

#include "skin/button_ex.h"
#include "skin/static_text.h"

class CSuperSliders : public CControls {
  public:
    static constexpr UINT kLeftArrowId = 3500;
    static constexpr UINT kRightArrowId = 3501;
    static constexpr UINT kLabelId = 2000;
    static constexpr int kTrackWidth = 241;

    void Init() override;
    void Draw(QPainter* pDC) override;
    void OnLButtonDown(UINT nFlags, int x, int y) override;
    void OnLButtonUp(UINT nFlags, int x, int y) override;
    void OnMouseMove(UINT nFlags, int x, int y) override;
    // On the slider, its arrows and its labels. No redraw.
    void Enable(bool bEnable) override;

    // Clamps to the range, relabels and repaints; posts nothing.
    void SetPos(float fPos);
    float GetPos() const { return m_fPos; }
    void SetRange(float fMin, float fMax) {
        m_fMin = fMin;
        m_fMax = fMax;
    }
    void SetStep(float fStep) { m_fStep = fStep; }
    platform::AccessibleItem Describe() const override;
    // Nothing happens at the centre of a slider: it takes values, not presses.
    bool Press() override { return false; }
    // As SetPos, then the value-changed notification.
    bool SetValue(double value) override;

    float Min() const { return m_fMin; }
    float Max() const { return m_fMax; }
    float Step() const { return m_fStep; }
    // The caption over the track and the value label's text.
    void SetTitle(const QString& title) { m_txtTitle.SetText(title); }
    const QString& Title() const { return m_txtTitle.Text(); }
    const QString& ValueText() const { return m_txtValue.Text(); }
    // Drawn at the fill's end; none until set.
    void SetThumbImage(const QString& path) { m_strThumbImage = path; }
    // The thumb as last drawn, in owner pixels.
    const RECT& ThumbRect() const { return m_rcThumb; }
    bool IsDragging() const { return m_bDragging; }
    const CButtonEx& LeftArrow() const { return m_btnLeft; }
    const CButtonEx& RightArrow() const { return m_btnRight; }

  protected:
    void CreateParts();

  private:
    RECT m_rcTrack{13, 15, 254, 24};   // offsets from m_rect's top-left
    RECT m_rcThumbAt{13, 11, 22, 26};  // thumb at the minimum, offsets
    RECT m_rcThumb;                    // thumb as last drawn, owner pixels
    CButtonEx m_btnLeft;
    CButtonEx m_btnRight;
    CStaticText m_txtValue;
    CStaticText m_txtTitle;
    float m_fStep = 1.0f;
    float m_fMax = 100.0f;
    float m_fMin = 0.0f;
    float m_fPos = 0.0f;
    bool m_bDragging = false;
    QString m_strThumbImage;

    // Pixels of fill for the value; 0 for an empty or inverted range.
    int FillWidth() const;
    // The value under x on the track, truncated toward the minimum; m_fMin for an empty range.
    float ValueAt(int x) const;
    void NotifyValueChanged();
};

// Adds -5, -10, +10, +5 buttons under the track.
class CSuperSlidersStepping : public CSuperSliders {
  public:
    void Init() override;
    void Enable(bool bEnable) override;

  private:
    CButtonEx m_btnSubFive;
    CButtonEx m_btnSubTen;
    CButtonEx m_btnAddTen;
    CButtonEx m_btnAddFive;
};
