// The start-up platform choice: the rule, and the probes against real sockets.
#include "platform/display_choice.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
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

TEST(QtPlatformPlugin, TheXcbPluginIsFoundAndANonsenseOneNot) {
    EXPECT_TRUE(platform::qtPlatformPluginPresent("xcb"));
    EXPECT_FALSE(platform::qtPlatformPluginPresent("no-such-platform"));
}

}  // namespace
