// The fan hand-back for a process that is dying: a crash signal, a stuck event
// loop, exit() from inside a library. The two cooler entries are resolved ahead,
// while the program is sound, so the hand-back itself resolves nothing,
// allocates nothing, takes no lock and writes no output of its own.
#pragma once

#include <cstdint>

namespace gpu {

// Resolves the cooler entries of the loaded driver; false when it lacks them.
// The binding disarms it before the driver library goes away.
bool armEmergencyHandBack();
void disarmEmergencyHandBack();
bool emergencyHandBackArmed();

// One hand-back on the GPU in use through the entries resolved by arm; -4 when
// not armed. Safe in a signal handler as far as the driver's own calls are.
int32_t emergencyHandBack() noexcept;

}  // namespace gpu
