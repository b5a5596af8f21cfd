#pragma once

namespace info {

// Registers the information panel with --snapshot as gpu_info_panel.png.
void registerGpuInfoSnapshot();

}  // namespace info
