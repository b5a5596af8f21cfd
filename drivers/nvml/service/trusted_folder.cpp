#include "trusted_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vantreld {
namespace {

bool ownedByUs(const struct stat& st) {
    return st.st_uid == 0 || st.st_uid == ::geteuid();
}

std::string describe(const struct stat& st) {
    char text[64];
    std::snprintf(text, sizeof text, "owner uid %u, mode %04o", static_cast<unsigned>(st.st_uid),
                  static_cast<unsigned>(st.st_mode & 07777));
    return text;
}

std::vector<std::string> components(const std::string& path) {
    std::vector<std::string> parts;
    std::string::size_type at = 0;
    while (at < path.size()) {
        const auto next = path.find('/', at);
        const auto end = next == std::string::npos ? path.size() : next;
        if (end > at) parts.push_back(path.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

}  // namespace

TrustedFolder::~TrustedFolder() {
    if (fd_ >= 0) ::close(fd_);
}

TrustedFolder& TrustedFolder::operator=(TrustedFolder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

TrustedFolder TrustedFolder::open(const std::string& path, bool create, std::string& error) {
    TrustedFolder folder;
    const std::vector<std::string> parts = components(path);
    if (path.empty() || path[0] != '/' || parts.empty()) {
        error = "not an absolute folder path: \"" + path + "\"";
        return folder;
    }
    for (const std::string& p : parts)
        if (p == "." || p == "..") {
            error = path + ": \".\" and \"..\" are not accepted in the path";
            return folder;
        }
    // Walk from the root, each step relative to the last, so that what was checked is what is used.
    int at = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    std::string walked;
    for (std::size_t i = 0; i < parts.size() && at >= 0; ++i) {
        const bool last = i + 1 == parts.size();
        walked += "/" + parts[i];
        // Ancestors may be links made by their trusted owner (/var/run); the folder itself may not.
        int next = ::openat(at, parts[i].c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC | (last ? O_NOFOLLOW : 0));
        if (next < 0 && errno == ENOENT && last && create) {
            if (::mkdirat(at, parts[i].c_str(), 0755) != 0 && errno != EEXIST) {
                error = "cannot create " + walked + ": " + std::strerror(errno);
                ::close(at);
                return folder;
            }
            next = ::openat(at, parts[i].c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        }
        if (next < 0) {
            const int e = errno;
            struct stat link {};
            error = last && ::fstatat(at, parts[i].c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
                            S_ISLNK(link.st_mode)
                        ? walked + " is a symbolic link; the service uses no folder a link leads to"
                        : walked + ": " + std::strerror(e == ELOOP ? ENOTDIR : e);
            ::close(at);
            return folder;
        }
        ::close(at);
        at = next;
        struct stat st {};
        if (::fstat(at, &st) != 0) {
            error = walked + ": " + std::strerror(errno);
            break;
        }
        if (!ownedByUs(st)) {
            error = walked + " belongs to another user (" + describe(st) + "); refused";
            break;
        }
        const bool othersWrite = (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        if (last ? othersWrite : othersWrite && !(st.st_mode & S_ISVTX)) {
            error = walked + " is writable by other users (" + describe(st) + "); refused";
            break;
        }
        if (last) {
            folder.fd_ = at;
            folder.path_ = path;
            return folder;
        }
    }
    if (at >= 0) ::close(at);
    if (error.empty()) error = "cannot open " + path;
    return folder;
}

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool TrustedFolder::replaceFile(const char* name, const char* tempName, const std::string& text) const {
    const int fd = ::openat(fd_, tempName, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    bool ok = fd >= 0 && writeAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    ok = ok && ::renameat(fd_, tempName, fd_, name) == 0;
    if (!ok) {
        const int error = errno;
        ::unlinkat(fd_, tempName, 0);
        errno = error;
        return false;
    }
    // The rename itself reaches the disk with the folder (a no-op on /run's tmpfs).
    const int dir = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace vantreld
