// The settings the service keeps for each GPU across reboots, in one file of its persistent
// state folder (/var/lib/vantrel). Written whole to a temporary file, synced, then renamed.
// A file that cannot be read in full (truncated, too large, a value beyond any card's range, a
// line it does not know) is kept aside as vantreld.kept.bad and nothing of it is used.
#pragma once

#include <string>
#include <vector>

#include "nvapi_contract.h"
#include "trusted_folder.h"

namespace vantreld {

struct KeptGpu {
    std::string id;  // the GPU's UUID, or its PCI bus id where it has none
    nvapi::KeptSettings settings{};
};

class KeptFile {
  public:
    static constexpr const char* kName = "vantreld.kept";
    static constexpr const char* kAsideName = "vantreld.kept.bad";
    static constexpr unsigned kMaxGpus = 64;

    explicit KeptFile(TrustedFolder folder) : folder_(std::move(folder)) {}

    // Every GPU's settings; none when there is no file. A faulty file is set aside (and said
    // on stderr) and gives none.
    std::vector<KeptGpu> read() const;
    // Replaces the file; an empty list removes it, so that nothing starts the service at boot.
    bool write(const std::vector<KeptGpu>& gpus) const;
    // Moves the file out of the way, with why on stderr.
    void setAside(const std::string& why) const;

    const std::string& path() const { return folder_.path(); }
    bool isOpen() const { return folder_.isOpen(); }
    // Whether the file is there at all (not read).
    bool exists() const;

  private:
    TrustedFolder folder_;
};

// The file's text for gpus, and back; parse gives false with why set on the first fault.
std::string formatKept(const std::vector<KeptGpu>& gpus);
bool parseKept(const std::string& text, std::vector<KeptGpu>& gpus, std::string& why);

// What no card could take, whatever its ranges: values a client sends are checked with it too.
bool plausibleKept(const nvapi::KeptSettings& k, std::string& why);

}  // namespace vantreld
