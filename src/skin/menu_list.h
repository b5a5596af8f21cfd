// The drawn drop-down list: a head button showing the current entry and, once
// opened, the other entries stacked under it. Choosing one swaps it with the
// current one and posts WM_COMMAND with the list's ID. While it is open, Up and
// Down move a highlight over the entries, Enter or Space chooses the highlighted
// one and Escape closes the list unchanged.
#pragma once

#include <QStringList>
#include <vector>

#include "skin/button_ex.h"

class CMenuItem : public CControls {
  public:
    static constexpr int kTextPoints = 10;
    void Draw(QPainter* pDC) override;
    QString ToolTip() const override { return CutTextToolTip(kTextPoints); }
    platform::AccessibleItem Describe() const override;
    // The list's keys while an entry has the focus.
    bool OnKey(int vk) override;
    bool IsHighlighted() const { return highlighted_; }
    void SetHighlighted(bool highlighted) { highlighted_ = highlighted; }
    int m_nIndex = 0;  // index of its text in the list's m_items

  private:
    bool highlighted_ = false;  // by the keyboard
};

class CMenuList : public CControls {
  public:
    static constexpr UINT kListId = 3010;
    static constexpr UINT kHeadId = 3100;

    ~CMenuList() override;
    // Needs at least one entry; `current` (entry 0 when out of range) is in the head.
    void Create(const QStringList& items, CDialogBase* pOwner, const RECT& rect, int current = 0);
    void Init() override;
    void Draw(QPainter* pDC) override;
    // Reached through the link notification: x is the ID of the clicked part.
    void OnLButtonUp(UINT nFlags, int x, int y) override;
    platform::AccessibleItem Describe() const override;
    // Opens or closes the entries, as a click on the head does.
    bool Press() override { return m_btnHead.Press(); }
    bool OnKey(int vk) override { return OnListKey(vk, -1); }
    // `from` is the row of the entry that has the focus, where the highlight
    // starts when there is none yet; -1 for none.
    bool OnListKey(int vk, int from);
    bool IsOpen() const { return !m_menuItems.empty() && !m_bCollapsed; }
    // The row in m_menuItems the keyboard highlights; -1 for none.
    int HighlightedRow() const { return highlightedRow_; }

    int m_nCurSel = 0;
    QStringList m_items;
    std::vector<CMenuItem*> m_menuItems;  // owned
    bool m_bCollapsed = false;
    RECT m_rcItems;  // left/right of the entries, top/bottom of the head
    CButtonEx m_btnHead;

  private:
    void ShowEntries(int nCmdShow);
    void Choose(size_t row);
    void Highlight(int row);
    int highlightedRow_ = -1;
};
