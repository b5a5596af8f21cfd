// vantrel --snapshot DIR: every skinned window of the program drawn into DIR as a
// PNG, on the chosen driver, without touching the card or the settings document.
#pragma once

#include <cstdio>
#include <string>

namespace app {

// Registers every skinned window of the program with the skin's snapshot list.
void registerWindowSnapshots();

// Binds the chosen driver, registers the windows and renders them into dir
// (absolute); 0 on success. 1 with the reason on err when the driver library is
// missing or dir cannot be created or written. Needs the application object.
int runSnapshots(const std::string& dir, std::FILE* err);

}  // namespace app
