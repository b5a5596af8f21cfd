// The program's translations: the .qm files of the runtime folder's
// translations/ for the locale the environment gives, and Qt's own for its
// dialogs' buttons; the core's texts then go through them too.
#pragma once

#include <string>

namespace platform {

// Once, after the application object is made. `runtimeFolder` holds translations/
// ("" for the working directory), so the start-up boxes, shown before the working
// directory is chosen, are translated too. The locale stays as it was (numbers and
// dates are not touched).
void installTranslations(const std::string& runtimeFolder);

}  // namespace platform
