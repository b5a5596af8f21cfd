// Skinned push button and the two-state button that serves as check box and,
// with its group filled, as radio button. Pictures are three-frame strips.
#pragma once

#include <vector>

#include "skin/controls.h"

// Frames: normal, hover, pressed. Text: 10 pt, ARGB 0xCCC80000, centred.
class CButtonEx : public CControls {
  public:
    static constexpr int kTextPoints = 10;
    void Draw(QPainter* pDC) override;
    uint64_t DrawState() const override;
    QString ToolTip() const override { return CutTextToolTip(kTextPoints); }
    platform::AccessibleItem Describe() const override;

  protected:
    // The picture strip's frame for the current state, and the caption's colour.
    virtual int Frame() const;
    virtual QRgb TextColour() const;
};

// Frames: unchecked, hover (either state), checked. Text in ARGB 0xFFFF6400.
class CCheckButtonEx : public CButtonEx {
  public:
    void OnLButtonUp(UINT nFlags, int x, int y) override;
    // TRUE clears the group; FALSE on a radio member keeps it checked when no
    // other member is (a group always keeps one checked). A change asks for a
    // repaint of the button.
    void SetCheck(bool bCheck);
    bool GetCheck() const { return m_bCheck; }
    platform::AccessibleItem Describe() const override;
    // Hover shows no frame of its own: the button keeps its checked look.
    void SetNoHover(bool noHover) { m_bNoHover = noHover; }

  protected:
    int Frame() const override;
    QRgb TextColour() const override;

  private:
    friend void MakeRadioGroup(std::initializer_list<CCheckButtonEx*> members);
    bool m_bNoHover = false;
    bool m_bCheck = false;
    // The other members of the radio group (not owned); empty for a check box.
    std::vector<CCheckButtonEx*> m_group;

    void SetCheckQuietly(bool bCheck);
    // Clears this member when another group member is checked, else checks it.
    void SettleAgainstGroup();
};

// Makes the buttons one radio group: each lists all the others.
void MakeRadioGroup(std::initializer_list<CCheckButtonEx*> members);
