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

    // The quantity's caption over the plot; no repaint.
    void SetCaption(const QString& caption) { m_txtCaption.SetText(caption); }
    int Min() const { return m_nMin; }
    int Max() const { return m_nMax; }
    const std::vector<int>& Values() const { return m_values; }  // oldest first
    const QStringList& Times() const { return m_times; }         // same index as Values()
    const CGraphLabel& CaptionLabel() const { return m_txtCaption; }
    const CGraphLabel& MinLabel() const { return m_txtMin; }
    const CGraphLabel& MaxLabel() const { return m_txtMax; }
    const CGraphLabel& LowestLabel() const { return m_txtLowest; }
    const CGraphLabel& HighestLabel() const { return m_txtHighest; }
    const CGraphLabel& CurrentLabel() const { return m_txtCurrent; }
    int Lowest() const { return m_nLowest; }
    int Highest() const { return m_nHighest; }
    int Phase() const { return m_nPhase; }  // of the scrolling grid, 0 to 17
    POINT MousePoint() const { return m_ptMouse; }

  private:
    friend struct CWaveformDisplayProbe;  // the tests' way to blank the labels
    CGraphLabel m_txtCaption, m_txtMin, m_txtMax, m_txtLowest, m_txtHighest, m_txtCurrent;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nLowest = 0;
    int m_nHighest = 0;
    int m_nPhase = 0;  // 0 to 17
    POINT m_ptMouse{0, 0};
    std::vector<int> m_values;  // oldest first
    QStringList m_times;        // same index as m_values
    bool m_bNewHistory = true;  // the next sample is the first of its history
    void CreateLabel(CGraphLabel& label, const RECT& rect, const QString& text, int align, QRgb colour);
    float SampleY(int value) const;
};
