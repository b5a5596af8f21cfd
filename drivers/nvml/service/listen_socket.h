// vantreld's listening socket: the one systemd hands over (socket activation), else one the
// service binds itself with the same mode and group.
#pragma once

#include <string>

namespace vantreld {

// The socket passed by systemd (LISTEN_PID/LISTEN_FDS), or -1.
int activatedSocket();

// Binds and listens at path, mode 0660, owned by group when that group exists. A stale socket
// file is replaced; a live one (another service answering) is an error. -1 with error set.
int bindSocket(const std::string& path, const std::string& group, std::string& error);

}  // namespace vantreld
