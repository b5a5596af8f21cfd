#pragma once

namespace monitor {

// Registers "monitor_panel" with the window snapshots: the panel after a few
// minutes of samples taken from the card, simulated time moving on between them.
void registerMonitorSnapshot();

}  // namespace monitor
