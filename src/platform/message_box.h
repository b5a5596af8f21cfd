#pragma once

#include <functional>
#include <string>

#include "platform/win_types.h"

namespace platform {

// MessageBoxW stand-in: text, caption, MB_* flags -> IDOK / IDYES / IDNO / IDCANCEL.
// The core calls it without knowing the window system; the application installs
// the Qt dialog, tests install their own answer.
using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, UINT flags)>;

int MessageBox(const std::string& text, const std::string& caption, UINT flags);

// The answer of a box closed without one, the answer that changes nothing:
// IDNO, IDCANCEL or IDOK by the buttons in flags.
int unchangedAnswer(UINT flags);

// The same box, shown from the event loop once the current step is over: for a
// box raised inside a periodic step (a sampling, a fan tick), whose nested loop
// would otherwise hold that step until the user answers. Without a way installed
// to defer (tests, no event loop) it is shown at once.
void MessageBoxLater(const std::string& text, const std::string& caption, UINT flags);
std::function<void(std::function<void()>)> setMessageBoxDeferrer(
    std::function<void(std::function<void()>)> d);

// Replaces the handler; returns the previous one. Without a handler a message box
// writes its text to stderr and answers as if the user pressed the default button.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// Closes every open message box without an answer (No, Cancel or OK), so that
// ending the program never waits for the user. The handler's partner installs
// how; without one this does nothing.
void dismissMessageBoxes();
std::function<void()> setMessageBoxDismisser(std::function<void()> dismisser);

}  // namespace platform
