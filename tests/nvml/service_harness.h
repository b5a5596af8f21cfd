// The real vantreld as a child process on a socket in a temporary folder, over the fake NVML,
// and a raw client for its frames. The fake appends every setter call to calls.txt there.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "nvapi_contract.h"
#include "service_protocol.h"

class ServiceHarness {
  public:
    // group: the socket's group ("" keeps the creator's).
    explicit ServiceHarness(const std::string& group = "") : group_(group) {
        char tmpl[] = "/tmp/vantreld-test-XXXXXX";
        dir = ::mkdtemp(tmpl);
        ::chmod(dir.c_str(), 0755);  // others may reach the socket; its own mode decides
        socket = dir + "/vantreld.sock";
        calls = dir + "/calls.txt";
        start();
    }
    ~ServiceHarness() {
        stop();
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    // Starts the service on the same folders (the state file kept there included); true once it answers.
    bool start() {
        pid = ::fork();
        if (pid == 0) {
            ::setenv("FAKE_NVML_CALLS", calls.c_str(), 1);
            // Kept settings in the test's folder; the fake's temperature from a file a test may write.
            ::setenv("VANTREL_SERVICE_STATE", kept().c_str(), 1);
            ::setenv("FAKE_NVML_TEMPERATURE", (dir + "/temperature").c_str(), 1);
            const int log = ::open((dir + "/vantreld.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            ::dup2(log, 2);
            ::execl(VANTRELD_PATH, "vantreld", "--socket", socket.c_str(), "--group", group_.c_str(),
                    "--state-dir", dir.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 500 && alive(); ++i) {
            if (ready()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    bool ready() const {
        const int fd = connect();
        if (fd < 0) return false;
        ::close(fd);
        return true;
    }
    // The daemon's wait status after the signal, or -1.
    int stop(int signal = SIGTERM) {
        if (pid <= 0) return -1;
        ::kill(pid, signal);
        int status = 0;
        for (int i = 0; i < 500; ++i) {
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        pid = -1;
        return -1;
    }
    bool alive() const { return pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0; }

    int connect() const {
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, socket.c_str(), sizeof addr.sun_path - 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
        if (fd >= 0) ::close(fd);
        return -1;
    }

    std::string read(const std::string& path) const {
        std::ifstream f(path);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    std::string setterCalls() const { return read(calls); }
    std::string log() const { return read(dir + "/vantreld.log"); }
    std::string kept() const { return dir + "/kept"; }
    void setTemperature(const std::string& celsius) const {
        std::ofstream(dir + "/temperature.tmp") << celsius << "\n";
        std::rename((dir + "/temperature.tmp").c_str(), (dir + "/temperature").c_str());
    }

    // Polls until the setter calls contain text; the time it took, or -1 ms.
    std::chrono::milliseconds waitForCall(const std::string& text, int limitMs = 3000) const {
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            if (setterCalls().find(text) != std::string::npos) return spent;
            if (spent.count() > limitMs) return std::chrono::milliseconds(-1);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::string dir, socket, calls;
    pid_t pid = -1;

  private:
    std::string group_;
};

// Runs body in a child process as uid (its group too, with the root group added so that the test
// socket can be reached); the child's exit status, or -1. Needs root.
template <typename F>
int runAs(uid_t uid, F&& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {0};
        if (::setgroups(1, groups) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0) ::_exit(126);
        ::_exit(body());
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// One request and its reply; the status, or 1 when the service closed without answering.
inline int32_t request(int fd, uint32_t interfaceId, const void* payload, uint32_t length, uint32_t gpu = 0,
                       uint32_t arg = 0) {
    vantrel_service::RequestHeader h;
    h.interfaceId = interfaceId;
    h.gpu = gpu;
    h.arg = arg;
    h.length = length;
    std::string frame(reinterpret_cast<const char*>(&h), sizeof h);
    frame.append(static_cast<const char*>(payload), length);
    if (::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(frame.size())) return 1;
    vantrel_service::Reply r;
    std::size_t got = 0;
    while (got < sizeof r) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 3000) <= 0) return 1;
        const ssize_t n = ::recv(fd, reinterpret_cast<char*>(&r) + got, sizeof r - got, 0);
        if (n <= 0) return 1;
        got += static_cast<std::size_t>(n);
    }
    return r.status;
}

// True when the service has closed fd (EOF within a short wait).
inline bool closedByService(int fd) {
    pollfd p{fd, POLLIN, 0};
    char c;
    return ::poll(&p, 1, 1000) == 1 && ::recv(fd, &c, 1, 0) == 0;
}

inline nvapi::CoolerLevels fanLevel(uint32_t level, uint32_t policy = nvapi::COOLER_POLICY_MANUAL) {
    nvapi::CoolerLevels l{};
    l.version = nvapi::COOLER_LEVELS_VER;
    l.cooler[0] = {level, policy};
    return l;
}

inline nvapi::PowerPolicyStatus powerLimit(uint32_t power) {
    nvapi::PowerPolicyStatus s{};
    s.version = nvapi::POWER_POLICY_STATUS_VER;
    s.count = 1;
    s.entry[0].power = power;
    return s;
}

inline std::size_t countOf(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}
