// Which Qt platform the program starts on, decided before the application object
// exists: Qt aborts when its platform cannot start, and a session without any
// display should end with a message instead.
#pragma once

#include <memory>
#include <string>
#include <utility>

namespace platform {

class PlatformChoice {
  public:
    // Start on `platform` ("xcb", "wayland"); empty leaves Qt to read QT_QPA_PLATFORM.
    static PlatformChoice use(std::string platform) { return PlatformChoice(std::move(platform), {}); }
    // The program cannot show a window; `why` is one line for the user.
    static PlatformChoice fail(std::string why) { return PlatformChoice({}, std::move(why)); }

    bool ok() const { return error_.empty(); }
    const std::string& platform() const { return platform_; }
    const std::string& error() const { return error_; }

    // The X connection the probe opened, held until Qt has made its own: an X
    // server whose last client leaves resets, and refuses connections while it
    // does, so a probe that was the only client would make Qt's start abort.
    void holdConnection(std::shared_ptr<void> connection) { held_ = std::move(connection); }
    bool holdsConnection() const { return held_ != nullptr; }
    void releaseConnection() { held_.reset(); }

  private:
    PlatformChoice(std::string platform, std::string error)
        : platform_(std::move(platform)), error_(std::move(error)) {}
    std::string platform_;
    std::string error_;
    std::shared_ptr<void> held_;
};

// The rule. The user's QT_QPA_PLATFORM always wins (only checked where it names
// xcb or wayland alone). Otherwise X11 whenever its display answers: the skinned
// panels dock by absolute position, which native Wayland does not let a client
// do. Native Wayland only without one, and only with Qt's plugin for it.
PlatformChoice choosePlatformFor(const std::string& userPlatform, bool xReachable, bool waylandReachable,
                                 bool waylandPluginPresent);

// The rule applied to this process's environment, with the displays probed.
PlatformChoice choosePlatform();

// Whether an X server answers on `display` (null or empty: no).
bool xDisplayReachable(const char* display);
// A connection to the X server on `display`, closed when the last copy goes;
// null where none answers (null or empty: none).
std::shared_ptr<void> connectXDisplay(const char* display);
// Whether a Wayland compositor listens where libwayland would connect: WAYLAND_SOCKET,
// else WAYLAND_DISPLAY (default "wayland-0"), relative to `runtimeDir` unless absolute.
bool waylandDisplayReachable(const char* waylandSocket, const char* waylandDisplay, const char* runtimeDir);
// Whether one of Qt's plugin folders holds a platform plugin whose file starts
// with libq<name> (libqxcb.so, libqwayland-generic.so).
bool qtPlatformPluginPresent(const std::string& name);

// Whether the running application is on Qt's native Wayland platform (where the
// hot key and the screenshot go through the desktop portals).
bool runsOnWayland();
// Whether the X display is XWayland's in a Wayland session, where the X server
// may show a client only black in place of other programs' windows.
bool x11InWaylandSession();

}  // namespace platform
