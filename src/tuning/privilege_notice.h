// Tells the user, once per run, that the card refused a change for lack of
// privilege. A watch spans one sequence of writes (an Apply, a Default, an
// over-voltage switch) and reports at its end, after the panel has settled.
#pragma once

#include <cstdint>

namespace tuning {

extern const char* const kPrivilegeText;
extern const char* const kPrivilegeCaption;

class PrivilegeWatch {
  public:
    PrivilegeWatch();
    // True when a write since construction was refused for lack of privilege.
    bool Refused() const;
    // Shows the message box if Refused() and no box was shown in this run yet.
    void Report() const;

  private:
    uint32_t m_before;
};

// Lets the next refusal show the box again (tests).
void resetPrivilegeNotice();

}  // namespace tuning
