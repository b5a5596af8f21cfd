#pragma once

namespace setup {

// Registers one picture of the settings window per built page
// ("settings_general", ...) with the skin's snapshot list. The window reads the
// settings and writes nothing: it is never committed.
void registerSettingsSnapshots();

}  // namespace setup
