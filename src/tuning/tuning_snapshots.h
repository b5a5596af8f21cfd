#pragma once

namespace tuning {

// Registers the clock panel and the voltage panel with the skin's snapshot list
// as "clock_panel" and "voltage_panel".
void registerTuningSnapshots();

}  // namespace tuning
