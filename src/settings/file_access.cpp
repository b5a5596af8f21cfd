#include "settings/file_access.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace settings {

namespace {

constexpr int kAsideAttempts = 100;

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(size_t(n));
    }
    return true;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Temporary files are named ".<name>.<pid>.<n>.tmp".
std::string temporaryPrefix(const std::string& path) {
    std::string prefix(1, '.');
    prefix += baseName(path);
    prefix += '.';
    return prefix;
}

// Temporary files left by a process that was killed while it saved.
void removeStaleTemporaries(const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string prefix = temporaryPrefix(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() <= prefix.size() + 4 || name.substr(0, prefix.size()) != prefix ||
            name.substr(name.size() - 4) != ".tmp")
            continue;
        const std::string pid(name.substr(prefix.size(), name.find('.', prefix.size()) - prefix.size()));
        char* end = nullptr;
        const long owner = std::strtol(pid.c_str(), &end, 10);
        if (pid.empty() || *end != '\0' || owner <= 0 || owner == ::getpid()) continue;
        if (::kill(pid_t(owner), 0) != 0 && errno == ESRCH)
            ::unlink((folder + "/" + std::string(name)).c_str());
    }
    ::closedir(dir);
}

// A fresh, exclusively created file beside the target; its name goes to tempPath.
int createTemporary(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem = folderOf(path) + "/" + temporaryPrefix(path) + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < kAsideAttempts; ++attempt) {
        tempPath = stem + std::to_string(counter++) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void syncFolder(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

ReadStatus readWholeFile(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    if (!S_ISREG(st.st_mode)) return ReadStatus::NotAFile;
    if (size_t(st.st_size) > maxBytes) return ReadStatus::TooLarge;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {  // replaced between stat and open
        ::close(fd);
        return ReadStatus::NotAFile;
    }
    bytes.reserve(size_t(st.st_size));
    char buffer[16384];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            bytes.clear();
            return ReadStatus::Unreadable;
        }
        bytes.append(buffer, size_t(n));
        if (bytes.size() > maxBytes) {  // grew after the size check
            ::close(fd);
            bytes.clear();
            return ReadStatus::TooLarge;
        }
    }
    ::close(fd);
    return ReadStatus::Read;
}

bool replaceFileAtomically(const std::string& path, std::string_view bytes) {
    struct stat original;
    const bool hadFile = ::stat(path.c_str(), &original) == 0;
    if (!hadFile && errno != ENOENT) return false;
    if (hadFile) {
        if (!S_ISREG(original.st_mode)) return false;
        // Root may write anything; a file without any write bit is still meant
        // to stay as it is.
        if ((original.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0)
            return false;
    }

    removeStaleTemporaries(path);
    std::string tempPath;
    const int fd = createTemporary(path, tempPath);
    if (fd < 0) return false;
    bool ok = true;
    if (hadFile) {
        if (original.st_uid != ::geteuid() || original.st_gid != ::getegid())
            (void)!::fchown(fd, original.st_uid, original.st_gid);  // best effort: only root may
        ok = ::fchmod(fd, original.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    syncFolder(path);
    return true;
}

bool moveAside(const std::string& path, const std::string& suffix) {
    std::string target = path + suffix;
    for (int n = 1; exists(target) && n < kAsideAttempts; ++n)
        target = path + suffix + "." + std::to_string(n);
    if (exists(target)) return false;
    if (::rename(path.c_str(), target.c_str()) != 0) return false;
    syncFolder(path);
    return true;
}

std::string resolvedPath(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* target = ::realpath(path.c_str(), nullptr);
    if (!target) return path;  // dangling: the link itself is replaced
    std::string result(target);
    std::free(target);
    return result;
}

}  // namespace settings
