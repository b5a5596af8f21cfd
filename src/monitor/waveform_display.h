// The scrolling graph of one monitored quantity: one sample per pixel column,
// newest at the right edge, drawn as a filled area under a line over a grid that
// scrolls with the samples. Its six labels are controls of the owner panel; the
// graph itself draws the plot area and, while hovered, a cursor with the value
// and time of the sample under the pointer.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "skin/static_text.h"

// A graph label: one line, running past its rectangle on the side away from
// its alignment rather than wrapping ("Min:1008" is wider than its 50 pixels).
class CGraphLabel : public CStaticText {
  public:
    void Draw(QPainter* pDC) override;
    QString ToolTip() const override { return {}; }  // always drawn whole
    // The graph tells what its labels show.
    platform::AccessibleItem Describe() const override { return {}; }
};

class CWaveformDisplay : public CControls {
  public:
    void Init() override;
    void Draw(QPainter* pDC) override;
    void OnMouseMove(UINT nFlags, int x, int y) override;
    void OnMouseEnter(UINT nFlags, int x, int y) override { OnMouseMove(nFlags, x, y); }
    // Its quantity, the last sample, and the lowest and highest.
    platform::AccessibleItem Describe() const override;

    // New range for the next drawing; the stored samples stay as they are.
    void SetRange(int nMin, int nMax);
    // Adds one sample (clamped to the range) with its time text and repaints.
    void AddSample(int nValue, const QString& strTime);
    // AddSample without the repaint, for an owner that repaints once for several graphs.
    void PushSample(int nValue, const QString& strTime);
    // Starts a new history (another quantity): lowest and highest start again with
    // its first sample; the grid phase stays.
    void ClearSamples();

    // Samples the history holds at most: the plot's width less 2.
    int Capacity() const;

    CGraphLabel m_txtCaption, m_txtMin, m_txtMax, m_txtLowest, m_txtHighest, m_txtCurrent;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nLowest = 0;
    int m_nHighest = 0;
    int m_nPhase = 0;  // 0 to 17
    POINT m_ptMouse{0, 0};
    std::vector<int> m_values;  // oldest first
    QStringList m_times;        // same index as m_values

  private:
    bool m_bNewHistory = true;  // the next sample is the first of its history
    void CreateLabel(CGraphLabel& label, const RECT& rect, const QString& text, int align, QRgb colour);
    float SampleY(int value) const;
};
