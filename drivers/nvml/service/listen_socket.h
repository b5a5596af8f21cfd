// vantreld's listening socket: the one systemd hands over (socket activation), else one the
// service binds itself, mode 0660 and its group settled before the name appears.
#pragma once

#include <string>

#include "trusted_folder.h"

namespace vantreld {

// The socket passed by systemd (LISTEN_PID/LISTEN_FDS), or -1.
int activatedSocket();

class ListenSocket {
  public:
    ListenSocket() = default;
    ~ListenSocket();
    ListenSocket(const ListenSocket&) = delete;
    ListenSocket& operator=(const ListenSocket&) = delete;

    // Binds and listens at path, mode 0660, owned by group when that group exists. The folder must
    // be a trusted one (trusted_folder.h). The socket is bound in a private folder inside it and
    // renamed into place, so the name never leads to a socket of another mode or group. A stale
    // socket file is replaced; a live one (another service answering) or any other file is an error.
    bool bind(const std::string& path, const std::string& group, std::string& error);
    int fd() const { return fd_; }
    // Removes the socket's name, through the folder's descriptor.
    void remove();

  private:
    int fd_ = -1;
    TrustedFolder folder_;
    std::string name_;
};

}  // namespace vantreld
