#include "listen_socket.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantreld {
namespace {

constexpr int kFirstPassedFd = 3;  // SD_LISTEN_FDS_START
constexpr const char* kBoundName = "s";

std::string lastError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// A fresh folder only root can enter, inside the trusted one; its name, or "".
std::string makePrivateFolder(int parent) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        char name[64];
        std::snprintf(name, sizeof name, ".vantreld-bind-%d-%lx", static_cast<int>(::getpid()),
                      static_cast<unsigned long>(now.tv_nsec) ^ static_cast<unsigned long>(attempt));
        if (::mkdirat(parent, name, 0700) == 0) return name;
        if (errno != EEXIST) return "";
    }
    return "";
}

// Binds a listening socket at name inside dir (a descriptor), through the working folder.
int bindIn(int dir, std::string& error) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = lastError("socket");
        return -1;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, kBoundName, std::strlen(kBoundName) + 1);
    const int cwd = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    const mode_t old = ::umask(0177);
    const bool bound =
        cwd >= 0 && ::fchdir(dir) == 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    const int e = errno;
    ::umask(old);
    if (cwd >= 0) {
        if (::fchdir(cwd) != 0) (void)!::chdir("/");
        ::close(cwd);
    }
    if (!bound) errno = e;  // not the restoring calls' errno
    if (!bound || ::listen(fd, 64) != 0) {
        error = lastError("bind/listen");
        ::close(fd);
        return -1;
    }
    return fd;
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

ListenSocket::~ListenSocket() {
    if (fd_ >= 0) ::close(fd_);
}

bool ListenSocket::bind(const std::string& path, const std::string& group, std::string& error) {
    sockaddr_un addr{};
    const std::string::size_type slash = path.rfind('/');
    if (path.size() >= sizeof addr.sun_path || slash == std::string::npos || slash + 1 == path.size()) {
        error = "not a socket path (absolute, under " + std::to_string(sizeof addr.sun_path) + " bytes): \"" +
                path + "\"";
        return false;
    }
    folder_ = TrustedFolder::open(slash == 0 ? "/" : path.substr(0, slash), true, error);
    if (!folder_.isOpen()) return false;
    name_ = path.substr(slash + 1);
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);

    gid_t gid = static_cast<gid_t>(-1);
    if (const struct group* g = group.empty() ? nullptr : ::getgrnam(group.c_str()))
        gid = g->gr_gid;
    else if (!group.empty())
        std::fprintf(stderr, "vantreld: no group %s; only root and the service's own group can connect\n",
                     group.c_str());

    struct stat st {};
    if (::fstatat(folder_.fd(), name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISSOCK(st.st_mode)) {
            error = path + " exists and is not a socket";
            return false;
        }
        const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool live =
            probe >= 0 && ::connect(probe, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        if (probe >= 0) ::close(probe);
        if (live) {
            error = "another service already answers at " + path;
            return false;
        }
    }
    const std::string privateName = makePrivateFolder(folder_.fd());
    if (privateName.empty()) {
        error = lastError("cannot make a private folder in " + folder_.path());
        return false;
    }
    const int priv =
        ::openat(folder_.fd(), privateName.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    int fd = priv >= 0 ? bindIn(priv, error) : -1;
    if (priv < 0) error = lastError("cannot open " + privateName);
    if (fd >= 0 && gid != static_cast<gid_t>(-1) &&
        ::fchownat(priv, kBoundName, static_cast<uid_t>(-1), gid, AT_SYMLINK_NOFOLLOW) != 0)
        std::fprintf(stderr, "vantreld: cannot give %s to group %s: %s\n", path.c_str(), group.c_str(),
                     std::strerror(errno));
    if (fd >= 0 && (::fchmodat(priv, kBoundName, 0660, 0) != 0 ||
                    ::renameat(priv, kBoundName, folder_.fd(), name_.c_str()) != 0)) {
        error = lastError("cannot put the socket in place at " + path);
        ::unlinkat(priv, kBoundName, 0);
        ::close(fd);
        fd = -1;
    }
    if (priv >= 0) ::close(priv);
    ::unlinkat(folder_.fd(), privateName.c_str(), AT_REMOVEDIR);
    fd_ = fd;
    return fd_ >= 0;
}

void ListenSocket::remove() {
    if (fd_ >= 0 && folder_.isOpen()) ::unlinkat(folder_.fd(), name_.c_str(), 0);
}

}  // namespace vantreld
