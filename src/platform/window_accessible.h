// Qt accessibility for platform::Window: its accessible interface lists the
// window's Qt child widgets and then the items the window draws itself
// (Window::AccessibleItemAt), each with its role, name, value, range and actions.
#pragma once

namespace platform {

// Installs the accessibility factory for every Window; once per process.
void installWindowAccessibility();

}  // namespace platform
