#include "monitor/monitor_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace monitor {
namespace {

constexpr size_t kDateWidth = 20;
constexpr const char* kTitle = "Vantrel(Tessaril) -- Hardware monitoring logFile";

std::string padded(const std::string& dateTime) {
    std::string line = dateTime;
    if (line.size() < kDateWidth) line.resize(kDateWidth, ' ');
    return line;
}

void padTo(std::string& line, size_t column) {
    if (line.size() < column) line.resize(column, ' ');
}

// ASCII line + CR LF as UTF-16LE code units.
void appendUtf16Line(std::string& out, const std::string& line) {
    for (const char c : line) {
        out.push_back(c);
        out.push_back('\0');
    }
    out.append("\r\0\n\0", 4);
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

}  // namespace

std::string logTitleLine(const std::string& dateTime) {
    return padded(dateTime) + kTitle;
}

std::string logHeaderLine(const std::string& dateTime) {
    std::string line = padded(dateTime);
    for (int kind = 0; kind < kSensorCount; ++kind) {
        if (kind > 0) line += "        ";
        line += sensorInfo(kind).logHeader;
    }
    return line;
}

std::string logDataRow(const std::string& dateTime, const SensorValues& values) {
    std::string line = padded(dateTime);
    for (int kind = 0; kind < kSensorCount; ++kind) {
        const int32_t value = values[size_t(kind)];
        if (value == 0) continue;
        padTo(line, size_t(sensorInfo(kind).logColumn));
        line += std::to_string(value);
    }
    return line;
}

bool appendLogRow(const std::string& path, const std::string& dateTime, const SensorValues& values) {
    if (path.empty()) return false;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool written = false;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        std::string bytes;
        if (info.st_size == 0) {
            appendUtf16Line(bytes, logTitleLine(dateTime));
            appendUtf16Line(bytes, logHeaderLine(dateTime));
        }
        appendUtf16Line(bytes, logDataRow(dateTime, values));
        const off_t end = ::lseek(fd, 0, SEEK_END);
        written = end >= 0 && writeAll(fd, bytes);
        // Half a row (disk full) would shift every later row: cut it off again.
        if (!written && end >= 0) {
            [[maybe_unused]] const int cut = ::ftruncate(fd, end);
        }
    }
    if (::close(fd) != 0) written = false;
    return written;
}

}  // namespace monitor
