// A folder the service may create files in: only its owner (root, or the service's own user
// when it does not run as root) can change what is inside it or what its path leads to. Every
// later file operation goes through the open descriptor, never through the path again.
#pragma once

#include <string>

namespace vantreld {

class TrustedFolder {
  public:
    TrustedFolder() = default;
    ~TrustedFolder();
    TrustedFolder(TrustedFolder&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
        other.fd_ = -1;
    }
    TrustedFolder& operator=(TrustedFolder&& other) noexcept;

    // Opens path (made 0755 when missing and create is set). Refused, with error set: a folder
    // that is a link, is owned by someone else, or is writable by group or others; or one whose
    // ancestors someone else could rename (owned by another user, or writable by others without
    // the sticky bit).
    static TrustedFolder open(const std::string& path, bool create, std::string& error);

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }

    // Replaces the file name with text (mode 0600) through tempName, written and flushed before
    // the rename, the folder flushed after it, so a crash leaves the old file or the new one
    // whole. false with errno set, and tempName removed, when any step fails.
    bool replaceFile(const char* name, const char* tempName, const std::string& text) const;

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace vantreld
