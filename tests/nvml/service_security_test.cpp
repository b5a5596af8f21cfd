// vantreld as another user on the machine would try it: folders it must refuse, a racing user
// swapping links while it starts, and one user's idle connections against another user's write.
#include <gtest/gtest.h>

#include <vector>

#include "service_harness.h"

using namespace nvapi;
using Clock = std::chrono::steady_clock;

namespace {

constexpr uid_t kOther = 65534;

struct Outcome {
    int exitCode = -1;  // -1: still running after 5 s (then killed)
    std::string err;
};

// vantreld with args, its exit code and stderr.
Outcome runVantreld(const std::vector<std::string>& args) {
    char tmpl[] = "/tmp/vantreld-err-XXXXXX";
    const int errFd = ::mkstemp(tmpl);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(errFd, 2);
        std::vector<char*> argv{const_cast<char*>("vantreld")};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(VANTRELD_PATH, argv.data());
        ::_exit(127);
    }
    Outcome run;
    int status = 0;
    for (int i = 0; i < 500 && ::waitpid(pid, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (::waitpid(pid, &status, WNOHANG) == 0 || !WIFEXITED(status)) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, &status, 0);
    } else {
        run.exitCode = WEXITSTATUS(status);
    }
    std::ifstream f(tmpl);
    std::stringstream s;
    s << f.rdbuf();
    run.err = s.str();
    ::close(errFd);
    ::unlink(tmpl);
    return run;
}

struct TempDir {
    TempDir() {
        char tmpl[] = "/tmp/vantreld-sec-XXXXXX";
        path = ::mkdtemp(tmpl);
        ::chmod(path.c_str(), 0755);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string path;
};

struct stat statOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

}  // namespace

// Every folder another user could change is refused by name, with a message and a non-zero exit,
// before anything is created in it.
TEST(VantreldSecurity, RefusesFoldersAnotherUserCouldChange) {
    TempDir base;
    const std::string good = base.path + "/good", open = base.path + "/open", groupw = base.path + "/groupw",
                      theirs = base.path + "/theirs", link = base.path + "/link",
                      file = good + "/vantreld.sock";
    ::mkdir(good.c_str(), 0755);
    ::mkdir(open.c_str(), 0777);
    ::chmod(open.c_str(), 0777);
    ::mkdir(groupw.c_str(), 0775);
    ::chmod(groupw.c_str(), 0775);
    ::mkdir(theirs.c_str(), 0755);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(theirs.c_str(), kOther, kOther), 0);
    }
    ASSERT_EQ(::symlink(good.c_str(), link.c_str()), 0);
    struct Case {
        std::string socket, state, says;
    };
    std::vector<Case> cases = {
        {open + "/s", good, "writable by other users"},      {groupw + "/s", good, "writable by other users"},
        {link + "/s", good, "is a symbolic link"},           {good + "/s", open, "writable by other users"},
        {good + "/s", link, "is a symbolic link"},           {good + "/../good/s", good, "are not accepted"},
        {"relative/s", good, "not an absolute folder path"},
    };
    if (root) {
        cases.push_back({theirs + "/s", good, "belongs to another user"});
        cases.push_back({good + "/s", theirs, "belongs to another user"});
    }
    for (const Case& c : cases) {
        const Outcome run = runVantreld({"--socket", c.socket, "--state-dir", c.state, "--group", ""});
        EXPECT_EQ(run.exitCode, 1) << c.socket << " " << c.state << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.socket << " " << c.state << "\n" << run.err;
    }
    for (const std::string& dir : {open, groupw, theirs, good})
        EXPECT_EQ(statOf(dir + "/s").st_mode, 0u) << dir << ": something was created";
    // A name in a good folder that is a link (or any file but a socket) is never replaced.
    ASSERT_EQ(::symlink("/etc/passwd", file.c_str()), 0);
    const Outcome run = runVantreld({"--socket", file, "--state-dir", good, "--group", ""});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(S_ISLNK(statOf(file).st_mode));
}

// A user who can write in the folders of the socket path swaps links and folders as fast as it
// can while the service starts 50 times: the service never starts there, and the file the
// links lead to keeps its mode and owner.
TEST(VantreldSecurity, ARacingUserSwappingLinksChangesNothingOutside) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to race as another user";
    TempDir base;
    const std::string victimDir = base.path + "/victim", victim = victimDir + "/vantreld.sock",
                      theirs = base.path + "/theirs", open = base.path + "/open";
    ::mkdir(victimDir.c_str(), 0755);
    ::close(::open(victim.c_str(), O_WRONLY | O_CREAT, 0640));
    ::chmod(victim.c_str(), 0640);
    ::mkdir(theirs.c_str(), 0755);
    ASSERT_EQ(::chown(theirs.c_str(), kOther, kOther), 0);
    ::mkdir(open.c_str(), 0777);
    ::chmod(open.c_str(), 0777);
    const struct stat before = statOf(victim);

    const pid_t racer = ::fork();
    if (racer == 0) {
        if (::setgid(kOther) != 0 || ::setuid(kOther) != 0) ::_exit(1);
        const std::string names[] = {theirs + "/vantreld.sock", open + "/vantreld.sock"};
        const std::string sub = theirs + "/sub", subTmp = theirs + "/sub.tmp";
        for (unsigned n = 0;; ++n) {
            for (const auto& name : names) {
                ::unlink(name.c_str());
                (void)!::symlink(victim.c_str(), name.c_str());
            }
            // theirs/sub: a link to the victim's (root-owned) folder, then a folder of its own.
            ::rmdir(subTmp.c_str());
            if (n % 2) {
                (void)!::symlink(victimDir.c_str(), subTmp.c_str());
            } else {
                ::mkdir(subTmp.c_str(), 0777);
            }
            ::rename(subTmp.c_str(), sub.c_str());
            ::unlink(subTmp.c_str());
        }
    }
    int started = 0;
    const std::string sockets[] = {theirs + "/vantreld.sock", open + "/vantreld.sock",
                                   theirs + "/sub/vantreld.sock"};
    for (int i = 0; i < 50; ++i) {
        const Outcome run =
            runVantreld({"--socket", sockets[i % 3], "--state-dir", victimDir, "--group", "users"});
        started += run.exitCode != 1;
    }
    ::kill(racer, SIGKILL);
    ::waitpid(racer, nullptr, 0);
    const struct stat after = statOf(victim);
    std::printf("race: 50 starts, %d started, victim mode %04o -> %04o, owner %u:%u -> %u:%u\n", started,
                before.st_mode & 07777, after.st_mode & 07777, before.st_uid, before.st_gid, after.st_uid,
                after.st_gid);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_TRUE(S_ISREG(after.st_mode));
}

// One user holds 256 idle connections; another user's write is still answered. The idle ones
// are closed; one that sent a frame first (as the program's own connection does) stays.
TEST(VantreldSecurity, OneUsersIdleConnectionsDoNotLockOutAnother) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to connect as other users";
    ServiceHarness service;
    ASSERT_TRUE(service.ready()) << service.log();
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t greedy = ::fork();
    if (greedy == 0) {
        ::close(release[1]);
        const gid_t groups[] = {0};
        if (::setgroups(1, groups) != 0 || ::setgid(60200) != 0 || ::setuid(60200) != 0) ::_exit(1);
        const int framed = service.connect();
        const bool answered = request(framed, vantrel_service::kHandBack, nullptr, 0) == OK;
        std::vector<int> fds;
        for (int i = 0; i < 256; ++i) fds.push_back(service.connect());
        (void)!::write(ready[1], "r", 1);
        char c;
        (void)!::read(release[0], &c, 1);
        // Every idle one ends (within the first-frame limit), the one that sent a frame does not.
        int closed = 0;
        for (int fd : fds)
            closed += fd < 0 || closedByService(fd) || closedByService(fd) || closedByService(fd) ||
                      closedByService(fd) || closedByService(fd);
        pollfd p{framed, POLLIN, 0};
        const bool framedOpen = ::poll(&p, 1, 0) == 0;
        std::printf(
            "idle: %d of 256 idle connections closed by the service; framed one answered: %s, open: %s\n",
            closed, answered ? "yes" : "no", framedOpen ? "yes" : "no");
        std::fflush(stdout);
        ::_exit(answered && closed == 256 && framedOpen ? 0 : 2);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const int other = runAs(60201, [&] {
        const auto start = Clock::now();
        const int fd = service.connect();
        CoolerLevels l = fanLevel(65);
        const int32_t s =
            fd < 0 ? 1 : request(fd, ID_GPU_SetCoolerLevels, &l, sizeof l, 0, COOLER_TARGET_ALL);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::printf("lock-out: another uid's write answered %s after %.2f ms\n", s == OK ? "OK" : "not", ms);
        std::fflush(stdout);
        return s == OK ? 0 : 1;
    });
    EXPECT_EQ(other, 0) << service.log();
    ::close(release[1]);
    int status = -1;
    ::waitpid(greedy, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << service.log();
    EXPECT_NE(service.log().find("uid 60200 refused a connection: it already has 8"), std::string::npos);
}
