// The start-up platform choice: the rule, and the probes against real sockets.
#include "platform/display_choice.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using platform::choosePlatformFor;

TEST(ChoosePlatform, XWhenReachableWaylandOnlyWithoutAndTheUsersChoiceWins) {
    EXPECT_EQ(choosePlatformFor("", true, true, true).platform(), "xcb");  // XWayland beside Wayland
    EXPECT_EQ(choosePlatformFor("", true, false, false).platform(), "xcb");
    EXPECT_EQ(choosePlatformFor("", false, true, true).platform(), "wayland");
    EXPECT_TRUE(choosePlatformFor("wayland", true, true, true).ok());
    EXPECT_EQ(choosePlatformFor("wayland", true, true, true).platform(), "");  // Qt reads it itself
    EXPECT_TRUE(choosePlatformFor("offscreen", false, false, false).ok());
    EXPECT_TRUE(choosePlatformFor("wayland;xcb", false, false, false).ok());  // Qt's own fallback list
}

TEST(ChoosePlatform, NoUsableDisplayIsOneLineNotAStart) {
    for (const auto& choice :
         {choosePlatformFor("", false, false, false), choosePlatformFor("", false, true, false),
          choosePlatformFor("xcb", false, true, true), choosePlatformFor("wayland-egl", true, false, true)}) {
        EXPECT_FALSE(choice.ok());
        EXPECT_FALSE(choice.error().empty());
        EXPECT_EQ(choice.error().find('\n'), std::string::npos) << choice.error();
    }
    EXPECT_NE(choosePlatformFor("", false, true, false).error().find("qt6-wayland"), std::string::npos);
}

// A listening socket standing in for a compositor.
class Listener {
  public:
    explicit Listener(const std::string& path) : path_(path), fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(fd_, 4), 0);
    }
    ~Listener() {
        close(fd_);
        unlink(path_.c_str());
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

  private:
    std::string path_;
    int fd_;
};

TEST(WaylandDisplayReachable, FollowsLibwaylandsNaming) {
    const auto dir = std::filesystem::temp_directory_path() / ("wl_probe_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string runtime = dir.string();
    EXPECT_FALSE(platform::waylandDisplayReachable(nullptr, "wayland-7", runtime.c_str()));
    {
        const Listener compositor(runtime + "/wayland-7");
        EXPECT_TRUE(platform::waylandDisplayReachable(nullptr, "wayland-7", runtime.c_str()));
        EXPECT_TRUE(platform::waylandDisplayReachable(nullptr, (runtime + "/wayland-7").c_str(), nullptr));
        EXPECT_FALSE(platform::waylandDisplayReachable(nullptr, "wayland-7", nullptr));
        EXPECT_FALSE(platform::waylandDisplayReachable(nullptr, nullptr, runtime.c_str()));
    }
    {
        const Listener compositor(runtime + "/wayland-0");
        EXPECT_TRUE(platform::waylandDisplayReachable(nullptr, nullptr, runtime.c_str()));
        EXPECT_TRUE(platform::waylandDisplayReachable(nullptr, "", runtime.c_str()));
    }
    // A socket left behind by a compositor that has gone answers nothing.
    EXPECT_FALSE(platform::waylandDisplayReachable(nullptr, "wayland-0", runtime.c_str()));
    EXPECT_TRUE(platform::waylandDisplayReachable("5", nullptr, nullptr));
    EXPECT_FALSE(platform::waylandDisplayReachable(nullptr, std::string(200, 'w').c_str(), runtime.c_str()));
    std::filesystem::remove_all(dir);
}

TEST(XDisplayReachable, AnUnusedDisplayIsNotReachable) {
    EXPECT_FALSE(platform::xDisplayReachable(nullptr));
    EXPECT_FALSE(platform::xDisplayReachable(""));
    EXPECT_FALSE(platform::xDisplayReachable(":9876"));
    if (const char* display = std::getenv("DISPLAY")) {
        EXPECT_TRUE(platform::xDisplayReachable(display));
    }
}

// An X server of the test's own, which resets whenever its last client leaves.
class PrivateXServer {
  public:
    PrivateXServer() {
        for (int n = 140; n < 200 && m_name.empty(); ++n)
            if (!std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)) &&
                !std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock"))
                m_name = ":" + std::to_string(n);
        m_pid = fork();
        if (m_pid == 0) {
            execlp("Xvfb", "Xvfb", m_name.c_str(), "-nolisten", "tcp", "-screen", "0", "64x64x24",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 200 && !platform::xDisplayReachable(m_name.c_str()); ++i) usleep(50 * 1000);
    }
    ~PrivateXServer() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;
    const std::string& name() const { return m_name; }

  private:
    std::string m_name;
    pid_t m_pid = -1;
};

// A mark on the root window, gone with a reset of the server; a few tries, since
// a resetting server refuses connections for a moment.
bool markRoot(const std::string& display, bool set) {
    for (int attempt = 0; attempt < 50; ++attempt, usleep(20 * 1000)) {
        const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> c(
            xcb_connect(display.c_str(), nullptr), &xcb_disconnect);
        if (xcb_connection_has_error(c.get())) continue;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data->root;
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(c.get(), xcb_intern_atom(c.get(), 0, 12, "VANTREL_MARK"), nullptr),
            &std::free);
        if (!atom) return false;
        if (set) {
            const char value = 1;
            xcb_change_property(c.get(), XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_CARDINAL, 8, 1,
                                &value);
        }
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(
            xcb_get_property_reply(
                c.get(), xcb_get_property(c.get(), 0, root, atom->atom, XCB_ATOM_ANY, 0, 1), nullptr),
            &std::free);
        return property && property->value_len == 1;
    }
    return false;
}

TEST(ChoosePlatform, TheProbesConnectionOutlastsItsCheckSoTheServerDoesNotResetUnderQt) {
    const PrivateXServer server;
    ASSERT_TRUE(platform::xDisplayReachable(server.name().c_str())) << "Xvfb did not start";
    const char* user = std::getenv("QT_QPA_PLATFORM");
    const std::string keptPlatform = user ? user : "";
    const char* display = std::getenv("DISPLAY");
    const std::string keptDisplay = display ? display : "";
    unsetenv("QT_QPA_PLATFORM");
    setenv("DISPLAY", server.name().c_str(), 1);

    platform::PlatformChoice choice = platform::choosePlatform();
    EXPECT_EQ(choice.platform(), "xcb");
    EXPECT_TRUE(choice.holdsConnection());
    // Another client comes and goes: with the probe's connection still open the
    // server keeps its state, as it does for the connection Qt opens next.
    ASSERT_TRUE(markRoot(server.name(), true));
    EXPECT_TRUE(markRoot(server.name(), false));
    choice.releaseConnection();
    EXPECT_FALSE(choice.holdsConnection());

    setenv("DISPLAY", "", 1);
    EXPECT_FALSE(platform::choosePlatform().holdsConnection());
    if (keptPlatform.empty())
        unsetenv("QT_QPA_PLATFORM");
    else
        setenv("QT_QPA_PLATFORM", keptPlatform.c_str(), 1);
    if (keptDisplay.empty())
        unsetenv("DISPLAY");
    else
        setenv("DISPLAY", keptDisplay.c_str(), 1);
}

TEST(QtPlatformPlugin, TheXcbPluginIsFoundAndANonsenseOneNot) {
    EXPECT_TRUE(platform::qtPlatformPluginPresent("xcb"));
    EXPECT_FALSE(platform::qtPlatformPluginPresent("no-such-platform"));
}

}  // namespace
