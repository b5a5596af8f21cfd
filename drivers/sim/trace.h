// One line of the write trace: "<interface> gpu=N key=value ... status=S", appended to the file
// named by VANTREL_SIM_TRACE when finished.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

class TraceLine {
  public:
    TraceLine(std::string_view interfaceName, int gpuIndex);

    void add(std::string_view key, int64_t value);
    // Adds status=S and appends the line (open, append, close); does nothing without a trace file.
    int32_t finish(int32_t status);

  private:
    std::string text_;
};

}  // namespace sim
