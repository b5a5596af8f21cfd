// The fan-curve editor: a child window showing the eight curve points on a
// temperature / speed grid, each point a small square the user drags. A
// double-click switches the curve between straight segments and steps.
#pragma once

#include <array>

#include "fan/fan_curve.h"
#include "platform/window.h"

class CStaticFanCtl : public platform::Window {
    Q_OBJECT
  public:
    explicit CStaticFanCtl(QWidget* parent = nullptr);

    // Lays out the grid from the current client size and places the points;
    // SetStepped must already have been given the wanted form. Does not repaint.
    void SetFanMap(const fan::FanPoint points[fan::kFanPointCount]);
    void GetFanMap(fan::FanPoint points[fan::kFanPointCount]) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Steps between the points instead of straight lines (stored as blLine).
    void SetStepped(bool stepped) { m_bStepped = stepped; }
    bool Stepped() const { return m_bStepped; }

    // Read by tests and the page.
    const RECT& gridRect() const { return m_rcGrid; }
    const RECT& pointRect(int k) const { return m_rcPoint[k]; }
    const RECT& labelRect() const { return m_rcLabel; }
    const QString& labelText() const { return m_strLabel; }
    bool tracking() const { return m_bTracking; }

  private:
    bool m_bStepped = false;
    void onButtonDown(int x, int y);
    void onMouseMove(int x, int y);
    void onButtonUp();
    void onDoubleClick();
    void drawBackground();
    void drawForeground();
    // Adds `r` to what the next paint redraws; `now` paints before returning,
    // otherwise the paint comes from the event loop and moves coalesce.
    void redraw(const RECT& r, bool now);
    // `r` with the label's old and new places: it may stand outside the grid
    // and the drag band.
    RECT withLabel(const RECT& r);
    void ensureSurface();

    fan::FanPoint valueAt(int cx, int cy) const;
    void setLabel(int k);
    void fillStepFromLine();
    static POINT centre(const RECT& r) { return POINT{r.left + 3, r.bottom - 3}; }

    std::array<RECT, fan::kFanPointCount> m_rcPoint{};
    RECT m_rcGrid{};
    RECT m_rcLabel{};
    QString m_strLabel;
    std::array<POINT, 10> m_ptLine{};
    std::array<POINT, 17> m_ptStep{};
    POINT m_ptLastMove{};
    bool m_bTracking = false;
    std::array<bool, fan::kFanPointCount> m_bSelected{};
    RECT m_rcDirty{};       // what the coming paint redraws; empty: nothing
    RECT m_rcLabelDrawn{};  // where the last redraw put the label
};
