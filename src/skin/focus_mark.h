// The keyboard focus of a skinned window: which control has it, and the mark
// drawn around that control. The mark is itself a control of the window, kept
// last in its list so that it is drawn over the others and its changes are
// tracked as any control's are; it takes no pointer input. It is not drawn
// while another window is active.
#pragma once

#include "skin/controls.h"

namespace skin {

class FocusMark : public CControls {
  public:
    void Draw(QPainter* pDC) override;
    uint64_t DrawState() const override;
    CControls* Target() const { return m_pTarget; }
    void SetTarget(CControls* target) { m_pTarget = target; }

  private:
    CControls* m_pTarget = nullptr;
};

}  // namespace skin
