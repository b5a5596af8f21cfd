// Starting with the desktop session: an XDG autostart entry whose Exec= names
// the program's executable. The entry is what "Start with Windows" reflects and
// what OK writes or removes.
#pragma once

#include <string>

namespace setup {

// $XDG_CONFIG_HOME/autostart/vantrel.desktop; an unset, empty or relative
// XDG_CONFIG_HOME means $HOME/.config. "" when neither gives a folder.
std::string autostartEntryPath();

// The Exec= value that starts `program` alone, quoted and escaped as desktop
// entries require when the path holds blanks or other reserved characters.
std::string desktopExecValue(const std::string& program);

// The program an Exec= value (as it stands in the file) starts: its first
// argument, unescaped and unquoted. "" when the value is malformed.
std::string programOfExecValue(const std::string& value);

// True when the entry exists, is not hidden, and its Exec= starts exactly
// `program` (letter case included).
bool autostartNames(const std::string& entryPath, const std::string& program);

// Writes the entry for `program` (Exec= and TryExec= name it), creating its folder: a temporary file beside
// it, flushed, renamed over the entry. False when any of that fails; an existing
// entry is then left as it was.
bool writeAutostartEntry(const std::string& entryPath, const std::string& program);

// Removes the entry; true when it is absent afterwards (also when it never was).
bool removeAutostartEntry(const std::string& entryPath);

}  // namespace setup
