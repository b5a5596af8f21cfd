#pragma once

#include "skin/controls.h"
#include "skin/skin_font.h"

// A text label: m_strText in the skin font on one line, vertically centred.
class CStaticText : public CControls {
  public:
    void Draw(QPainter* pDC) override;
    uint64_t DrawState() const override;
    QString ToolTip() const override { return CutTextToolTip(m_nFontSize); }
    platform::AccessibleItem Describe() const override;

    // No repaint, as SetText.
    void SetColour(QRgb argb) { m_crText = argb; }
    QRgb Colour() const { return m_crText; }
    void SetAlign(int align) { m_nAlign = align; }
    void SetFontSize(int points) { m_nFontSize = points; }

  protected:
    QRgb m_crText = 0x96969696;
    int m_nAlign = skin::AlignCenter;  // 0 near, 1 centre, 2 far
    int m_nFontSize = 8;               // points
};
