#include "listen_socket.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantreld {
namespace {

constexpr int kFirstPassedFd = 3;  // SD_LISTEN_FDS_START

std::string lastError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

int activatedSocket() {
    const char* pid = std::getenv("LISTEN_PID");
    const char* fds = std::getenv("LISTEN_FDS");
    if (!pid || !fds || std::atol(pid) != static_cast<long>(::getpid()) || std::atoi(fds) < 1) return -1;
    ::unsetenv("LISTEN_PID");
    ::unsetenv("LISTEN_FDS");
    ::unsetenv("LISTEN_FDNAMES");
    const int flags = ::fcntl(kFirstPassedFd, F_GETFL);
    if (flags < 0) return -1;
    ::fcntl(kFirstPassedFd, F_SETFL, flags | O_NONBLOCK);
    ::fcntl(kFirstPassedFd, F_SETFD, FD_CLOEXEC);
    return kFirstPassedFd;
}

int bindSocket(const std::string& path, const std::string& group, std::string& error) {
    sockaddr_un addr{};
    if (path.empty() || path.size() >= sizeof addr.sun_path) {
        error = "socket path too long or empty: " + path;
        return -1;
    }
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const std::string::size_type slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) ::mkdir(path.substr(0, slash).c_str(), 0755);

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = lastError("socket");
        return -1;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) {
            error = path + " exists and is not a socket";
            ::close(fd);
            return -1;
        }
        const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool live =
            probe >= 0 && ::connect(probe, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        if (probe >= 0) ::close(probe);
        if (live) {
            error = "another service already answers at " + path;
            ::close(fd);
            return -1;
        }
        ::unlink(path.c_str());
    }
    // Never reachable by others, not even between bind and chmod.
    const mode_t old = ::umask(0117);
    const int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::umask(old);
    if (bound != 0 || ::listen(fd, 64) != 0) {
        error = lastError("bind/listen");
        ::close(fd);
        return -1;
    }
    ::chmod(path.c_str(), 0660);
    if (const struct group* g = group.empty() ? nullptr : ::getgrnam(group.c_str())) {
        if (::chown(path.c_str(), static_cast<uid_t>(-1), g->gr_gid) != 0)
            std::fprintf(stderr, "vantreld: cannot give %s to group %s: %s\n", path.c_str(), group.c_str(),
                         std::strerror(errno));
    } else if (!group.empty()) {
        std::fprintf(stderr, "vantreld: no group %s; only root and the service's own group can connect\n",
                     group.c_str());
    }
    return fd;
}

}  // namespace vantreld
