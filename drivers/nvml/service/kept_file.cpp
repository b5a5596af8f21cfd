#include "kept_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace vantreld {
namespace {

using namespace nvapi;

constexpr const char* kHeader = "vantreld kept settings 1";
constexpr const char* kTempName = "vantreld.kept.tmp";
constexpr off_t kMaxSize = 64 * 1024;

// A decimal integer within [lo, hi], nothing else.
bool number(const std::string& text, long long lo, long long hi, long long& out) {
    if (text.empty() || text.size() > 12) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

template <typename T>
bool number(const std::string& text, long long lo, long long hi, T& out) {
    long long v = 0;
    if (!number(text, lo, hi, v)) return false;
    out = static_cast<T>(v);
    return true;
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// "name=value" into value; false when the word has another name.
bool named(const std::string& word, const char* name, std::string& value) {
    const std::size_t n = std::strlen(name);
    if (word.size() <= n || word.compare(0, n, name) != 0 || word[n] != '=') return false;
    value = word.substr(n + 1);
    return true;
}

bool parseCurve(const std::vector<std::string>& w, KeptFanCurve& c) {
    if (w.size() != 7) return false;
    std::string v;
    if (!named(w[2], "form", v) || (v != "lines" && v != "steps")) return false;
    c.stepped = v == "steps" ? 1 : 0;
    if (!named(w[3], "period-ms", v) || !number(v, KEPT_PERIOD_MIN_MS, KEPT_PERIOD_MAX_MS, c.periodMs))
        return false;
    if (!named(w[4], "hysteresis", v) || !number(v, 0, KEPT_HYSTERESIS_MAX_C, c.hysteresisC)) return false;
    if (!named(w[5], "min-change-ms", v) || !number(v, 0, KEPT_MIN_CHANGE_MAX_MS, c.minChangeMs))
        return false;
    if (!named(w[6], "points", v)) return false;
    std::istringstream points(v);
    std::string point;
    int k = 0;
    for (; k < 8 && std::getline(points, point, ','); ++k) {
        const std::size_t colon = point.find(':');
        if (colon == std::string::npos || !number(point.substr(0, colon), -1000, 1000, c.x[k]) ||
            !number(point.substr(colon + 1), -1000, 1000, c.y[k]))
            return false;
    }
    return k == 8 && points.peek() == std::char_traits<char>::eof();
}

bool parseLine(const std::vector<std::string>& w, KeptSettings& k) {
    const std::string& key = w[0];
    auto one = [&](long long lo, long long hi, auto& field, uint32_t flag) {
        if (w.size() != 2 || (k.fields & flag) || !number(w[1], lo, hi, field)) return false;
        k.fields |= flag;
        return true;
    };
    if (key == "gpu-offset-khz") return one(-10'000'000, 10'000'000, k.gpuOffsetKHz, KEPT_GPU_OFFSET);
    if (key == "mem-offset-khz") return one(-10'000'000, 10'000'000, k.memOffsetKHz, KEPT_MEM_OFFSET);
    if (key == "power") return one(1, 1'000'000, k.power, KEPT_POWER);
    if (key == "temp-target") return one(-100, 200, k.tempTargetC, KEPT_TEMP_TARGET);
    if (key != "fan" || w.size() < 2 || (k.fields & KEPT_FAN)) return false;
    k.fields |= KEPT_FAN;
    if (w[1] == "driver" && w.size() == 2) {
        k.fanMode = KEPT_FAN_DRIVER;
        return true;
    }
    if (w[1] == "fixed") {
        k.fanMode = KEPT_FAN_FIXED;
        return w.size() == 3 && number(w[2], 0, 100, k.fanLevel);
    }
    if (w[1] == "curve") {
        k.fanMode = KEPT_FAN_CURVE;
        return parseCurve(w, k.curve);
    }
    return false;
}

}  // namespace

bool plausibleKept(const KeptSettings& k, std::string& why) {
    std::vector<KeptGpu> one{{"GPU-x", k}};
    one[0].settings.version = KEPT_SETTINGS_VER;
    std::vector<KeptGpu> back;
    // The file's own limits are the plausible ones: what could not be written could not be kept.
    if (k.version != KEPT_SETTINGS_VER || (k.fields & ~KEPT_ALL) != 0) {
        why = "an unknown version or field";
        return false;
    }
    if ((k.fields & KEPT_FAN) && k.fanMode > KEPT_FAN_CURVE) {
        why = "an unknown fan mode";
        return false;
    }
    return parseKept(formatKept(one), back, why);
}

std::string formatKept(const std::vector<KeptGpu>& gpus) {
    std::string text = std::string(kHeader) + "\n";
    char line[512];
    for (const KeptGpu& g : gpus) {
        const KeptSettings& k = g.settings;
        text += "gpu " + g.id + "\n";
        if (k.fields & KEPT_GPU_OFFSET) text += "gpu-offset-khz " + std::to_string(k.gpuOffsetKHz) + "\n";
        if (k.fields & KEPT_MEM_OFFSET) text += "mem-offset-khz " + std::to_string(k.memOffsetKHz) + "\n";
        if (k.fields & KEPT_POWER) text += "power " + std::to_string(k.power) + "\n";
        if (k.fields & KEPT_TEMP_TARGET) text += "temp-target " + std::to_string(k.tempTargetC) + "\n";
        if (!(k.fields & KEPT_FAN)) continue;
        if (k.fanMode == KEPT_FAN_FIXED) {
            text += "fan fixed " + std::to_string(k.fanLevel) + "\n";
        } else if (k.fanMode == KEPT_FAN_CURVE) {
            const KeptFanCurve& c = k.curve;
            int n = std::snprintf(line, sizeof line,
                                  "fan curve form=%s period-ms=%u hysteresis=%u min-change-ms=%u points=",
                                  c.stepped ? "steps" : "lines", c.periodMs, c.hysteresisC, c.minChangeMs);
            for (int i = 0; i < 8 && n > 0 && std::size_t(n) < sizeof line; ++i)
                n += std::snprintf(line + n, sizeof line - std::size_t(n), "%s%d:%d", i ? "," : "", c.x[i],
                                   c.y[i]);
            text += std::string(line) + "\n";
        } else {
            text += "fan driver\n";
        }
    }
    return text;
}

bool parseKept(const std::string& text, std::vector<KeptGpu>& gpus, std::string& why) {
    gpus.clear();
    std::istringstream in(text);
    std::string line;
    unsigned number = 0;
    if (!std::getline(in, line) || line != kHeader) {
        why = "no header";
        return false;
    }
    ++number;
    bool ended = !text.empty() && text.back() == '\n';
    while (std::getline(in, line)) {
        ++number;
        const std::vector<std::string> w = words(line);
        bool ok = !w.empty() && line.size() <= 400;
        if (ok && w[0] == "gpu") {
            bool fresh =
                w.size() == 2 && w[1].size() < sizeof(ServiceStatus::id) && gpus.size() < KeptFile::kMaxGpus;
            for (const KeptGpu& g : gpus) fresh = fresh && g.id != w[1];
            for (const char ch : w.size() == 2 ? w[1] : std::string())
                fresh = fresh &&
                        (std::isalnum(static_cast<unsigned char>(ch)) || ch == '-' || ch == ':' || ch == '.');
            ok = fresh;
            if (ok) {
                gpus.push_back({w[1], {}});
                gpus.back().settings.version = KEPT_SETTINGS_VER;
            }
        } else {
            ok = ok && !gpus.empty() && parseLine(w, gpus.back().settings);
        }
        if (!ok) {
            why = "line " + std::to_string(number) + " is not understood";
            gpus.clear();
            return false;
        }
    }
    if (!ended) {
        why = "it ends inside a line (truncated)";
        gpus.clear();
        return false;
    }
    return true;
}

std::vector<KeptGpu> KeptFile::read() const {
    std::vector<KeptGpu> gpus;
    const int fd = ::openat(folder_.fd(), kName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) setAside(std::strerror(errno));
        return gpus;
    }
    struct stat st {};
    std::string text;
    bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (st.st_uid == 0 || st.st_uid == ::geteuid());
    if (ours && st.st_size <= kMaxSize) {
        text.resize(static_cast<std::size_t>(kMaxSize) + 1);
        const ssize_t n = ::read(fd, text.data(), text.size());
        ours = n >= 0 && n <= kMaxSize;
        text.resize(ours ? static_cast<std::size_t>(n) : 0);
    } else if (ours) {
        ::close(fd);
        setAside("larger than " + std::to_string(kMaxSize) + " bytes");
        return gpus;
    }
    ::close(fd);
    std::string why;
    if (!ours)
        setAside("not a plain file of the service's");
    else if (!parseKept(text, gpus, why))
        setAside(why);
    return gpus;
}

bool KeptFile::exists() const {
    struct stat st {};
    return ::fstatat(folder_.fd(), kName, &st, AT_SYMLINK_NOFOLLOW) == 0;
}

void KeptFile::setAside(const std::string& why) const {
    const bool moved = ::renameat(folder_.fd(), kName, folder_.fd(), kAsideName) == 0;
    std::fprintf(stderr, "vantreld: kept settings %s/%s not used: %s; %s\n", folder_.path().c_str(), kName,
                 why.c_str(), moved ? "kept aside as vantreld.kept.bad" : "it could not be moved aside");
}

bool KeptFile::write(const std::vector<KeptGpu>& gpus) const {
    if (gpus.empty()) {
        const bool ok = ::unlinkat(folder_.fd(), kName, 0) == 0 || errno == ENOENT;
        if (!ok)
            std::fprintf(stderr, "vantreld: cannot remove %s/%s: %s\n", folder_.path().c_str(), kName,
                         std::strerror(errno));
        return ok;
    }
    const std::string text = formatKept(gpus);
    if (!folder_.replaceFile(kName, kTempName, text)) {
        std::fprintf(stderr, "vantreld: cannot write %s/%s: %s\n", folder_.path().c_str(), kName,
                     std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace vantreld
