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
    // The index of its text in the list's entries.
    void SetIndex(int index) { m_nIndex = index; }
    int Index() const { return m_nIndex; }

  private:
    int m_nIndex = 0;
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

    // The chosen entry's index in Items().
    int CurSel() const { return m_nCurSel; }
    const QStringList& Items() const { return m_items; }
    // The entries under the head while the list exists (after the first opening).
    const std::vector<CMenuItem*>& Entries() const { return m_menuItems; }
    bool IsCollapsed() const { return m_bCollapsed; }
    const CButtonEx& Head() const { return m_btnHead; }

  private:
    friend struct CMenuListProbe;  // the tests' way to blank the head
    int m_nCurSel = 0;
    QStringList m_items;
    std::vector<CMenuItem*> m_menuItems;  // owned
    bool m_bCollapsed = false;
    RECT m_rcItems;  // left/right of the entries, top/bottom of the head
    CButtonEx m_btnHead;

    void ShowEntries(int nCmdShow);
    void Choose(size_t row);
    void Highlight(int row);
    int highlightedRow_ = -1;
};
