// A simulated card for one test: the description is written to a temporary file,
// time is frozen, writes are traced, and the binding points at the simulator.
#pragma once

#include <string>
#include <vector>

#include "support/message_box_recorder.h"  // for the tests that take both from here

namespace testsupport {

class SimCard {
  public:
    explicit SimCard(const std::string& cardXml);
    ~SimCard();
    SimCard(const SimCard&) = delete;
    SimCard& operator=(const SimCard&) = delete;

    // The write calls traced since construction or the last clearTrace().
    std::vector<std::string> trace() const;
    void clearTrace();

  private:
    std::string cardPath_;
    std::string tracePath_;
};

}  // namespace testsupport
