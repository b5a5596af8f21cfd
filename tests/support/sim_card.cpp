#include "support/sim_card.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "gpu/driver_binding.h"
#include "platform/message_box.h"
#include "support/temp_folder.h"

namespace testsupport {
SimCard::SimCard(const std::string& cardXml)
    : cardPath_(temporaryFile("vantrel-card-")), tracePath_(temporaryFile("vantrel-trace-")) {
    std::ofstream(cardPath_) << cardXml;
    setenv("VANTREL_SIM_CARD", cardPath_.c_str(), 1);
    setenv("VANTREL_SIM_TRACE", tracePath_.c_str(), 1);
    setenv("VANTREL_SIM_FROZEN", "1", 1);
    gpu::DriverBinding::setLibraryPath(SIM_DRIVER_PATH);
}

SimCard::~SimCard() {
    gpu::DriverBinding::setLibraryPath("");
    unsetenv("VANTREL_SIM_CARD");
    unsetenv("VANTREL_SIM_TRACE");
    unsetenv("VANTREL_SIM_FROZEN");
    std::remove(cardPath_.c_str());
    std::remove(tracePath_.c_str());
}

std::vector<std::string> SimCard::trace() const {
    std::vector<std::string> lines;
    std::ifstream in(tracePath_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void SimCard::clearTrace() {
    std::ofstream(tracePath_, std::ios::trunc);
}

}  // namespace testsupport
