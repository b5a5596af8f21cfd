// The NVML device indices whose fans a client holds at a manual level, kept in a file of the
// runtime folder so that a service killed without warning hands them back on its next start.
// Written whole to a temporary file, synced, then renamed over the old one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "trusted_folder.h"

namespace vantreld {

class StateFile {
  public:
    static constexpr const char* kName = "vantreld.state";
    static constexpr unsigned kMaxIndex = 63;

    explicit StateFile(TrustedFolder folder) : folder_(std::move(folder)) {}

    // The indices listed, each 0..kMaxIndex and listed once; whatever else the file holds (a
    // line that is no index, a file too large, not a plain file, another owner's) is ignored and
    // said on stderr. No file: none.
    std::vector<unsigned> read() const;
    // Replaces the file's list; false (said on stderr) when it could not be written.
    bool write(uint64_t indices) const;

  private:
    TrustedFolder folder_;
};

}  // namespace vantreld
