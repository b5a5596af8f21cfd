#include "state_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vantreld {
namespace {

constexpr const char* kHeader = "vantreld fans held manual\n";
constexpr const char* kTempName = "vantreld.state.tmp";
constexpr off_t kMaxSize = 4096;

}  // namespace

std::vector<unsigned> StateFile::read() const {
    std::vector<unsigned> indices;
    const int fd = ::openat(folder_.fd(), kName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            std::fprintf(stderr, "vantreld: state file %s/%s ignored: %s\n", folder_.path().c_str(), kName,
                         std::strerror(errno));
        return indices;
    }
    struct stat st {};
    char text[kMaxSize + 1];
    ssize_t size = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxSize &&
        (st.st_uid == 0 || st.st_uid == ::geteuid()))
        size = ::read(fd, text, kMaxSize);
    ::close(fd);
    if (size < 0) {
        std::fprintf(stderr,
                     "vantreld: state file %s/%s ignored: not a plain file of ours under %lld bytes\n",
                     folder_.path().c_str(), kName, static_cast<long long>(kMaxSize));
        return indices;
    }
    text[size] = '\0';
    uint64_t seen = 0;
    unsigned ignored = 0;
    const char* p = text;
    if (std::strncmp(p, kHeader, std::strlen(kHeader)) == 0)
        p += std::strlen(kHeader);
    else if (size > 0)
        ++ignored;  // no header: only the index lines below count
    while (*p) {
        const char* end = std::strchr(p, '\n');
        if (!end) end = p + std::strlen(p);
        // A line is one to two decimal digits, nothing else.
        const std::size_t length = static_cast<std::size_t>(end - p);
        unsigned value = 0;
        bool digits = length >= 1 && length <= 2;
        for (std::size_t i = 0; digits && i < length; ++i) {
            digits = p[i] >= '0' && p[i] <= '9';
            value = value * 10 + static_cast<unsigned>(p[i] - '0');
        }
        if (digits && value <= kMaxIndex && !(seen & (uint64_t{1} << value))) {
            seen |= uint64_t{1} << value;
            indices.push_back(value);
        } else if (length > 0 || *end) {
            ++ignored;
        }
        p = *end ? end + 1 : end;
    }
    if (ignored > 0)
        std::fprintf(stderr, "vantreld: state file %s/%s: %u line(s) ignored\n", folder_.path().c_str(),
                     kName, ignored);
    return indices;
}

bool StateFile::write(uint64_t indices) const {
    std::string text = kHeader;
    for (unsigned i = 0; i <= kMaxIndex; ++i)
        if (indices & (uint64_t{1} << i)) text += std::to_string(i) + "\n";
    if (!folder_.replaceFile(kName, kTempName, text)) {
        std::fprintf(stderr, "vantreld: cannot write the state file %s/%s: %s\n", folder_.path().c_str(),
                     kName, std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace vantreld
