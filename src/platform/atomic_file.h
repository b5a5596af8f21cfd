// Files replaced whole: written beside their name, flushed, then renamed over it,
// so a crash or a full disk leaves the earlier file intact and whatever stood at
// the name (a link another user planted included) is replaced, never followed.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace platform {

// bytes as the file at path, with mode; its folder is flushed after the rename.
// False (nothing changed at path) when any step fails.
bool writeFileAtomically(const std::string& path, std::string_view bytes, mode_t mode = 0644);

// The user's configuration folder: $XDG_CONFIG_HOME when absolute, else
// $HOME/.config when HOME is absolute; "" without either.
std::string xdgConfigFolder(const char* xdgConfigHome, const char* home);

}  // namespace platform
