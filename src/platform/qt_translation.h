// The program's translations: the .qm files of the runtime folder's
// translations/ for the locale the environment gives, and Qt's own for its
// dialogs' buttons; the core's texts then go through them too.
#pragma once

namespace platform {

// Once, after the application object is made and the working directory is
// the program's folder. The locale stays as it was (numbers and dates are not touched).
void installTranslations();

}  // namespace platform
