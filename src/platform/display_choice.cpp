#include "platform/display_choice.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace platform {

PlatformChoice choosePlatformFor(const std::string& userPlatform, bool xReachable, bool waylandReachable,
                                 bool waylandPluginPresent) {
    if (!userPlatform.empty()) {
        if (userPlatform == "xcb" && !xReachable)
            return PlatformChoice::fail("QT_QPA_PLATFORM is xcb, but no X display can be reached (DISPLAY)");
        if (userPlatform.rfind("wayland", 0) == 0 && userPlatform.find(';') == std::string::npos &&
            !waylandReachable)
            return PlatformChoice::fail("QT_QPA_PLATFORM is " + userPlatform +
                                        ", but no Wayland display can be reached (WAYLAND_DISPLAY)");
        return PlatformChoice::use({});
    }
    if (xReachable) return PlatformChoice::use("xcb");
    if (waylandReachable && waylandPluginPresent) return PlatformChoice::use("wayland");
    if (waylandReachable)
        return PlatformChoice::fail(
            "there is only a Wayland display, and Qt's Wayland platform plugin is not installed "
            "(package qt6-wayland)");
    return PlatformChoice::fail(
        "no display to open the window on: neither DISPLAY nor WAYLAND_DISPLAY names one that answers "
        "(--status works without one)");
}

PlatformChoice choosePlatform() {
    const char* user = std::getenv("QT_QPA_PLATFORM");
    const std::string userPlatform = user ? user : "";
    std::shared_ptr<void> xConnection = connectXDisplay(std::getenv("DISPLAY"));
    const bool x = xConnection != nullptr;
    // Probed only where it decides something.
    const bool wayland =
        (userPlatform.empty() && !x) || userPlatform.rfind("wayland", 0) == 0
            ? waylandDisplayReachable(std::getenv("WAYLAND_SOCKET"), std::getenv("WAYLAND_DISPLAY"),
                                      std::getenv("XDG_RUNTIME_DIR"))
            : false;
    PlatformChoice choice =
        choosePlatformFor(userPlatform, x, wayland, wayland && qtPlatformPluginPresent("wayland"));
    if (choice.ok()) choice.holdConnection(std::move(xConnection));
    return choice;
}

bool xDisplayReachable(const char* display) {
    return connectXDisplay(display) != nullptr;
}

std::shared_ptr<void> connectXDisplay(const char* display) {
    if (!display || !*display) return nullptr;
    // A busy X server now and then refuses one connection; that is not "no X".
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt) usleep(100 * 1000);
        xcb_connection_t* c = xcb_connect(display, nullptr);
        if (!xcb_connection_has_error(c))
            return std::shared_ptr<void>(
                c, [](void* held) { xcb_disconnect(static_cast<xcb_connection_t*>(held)); });
        xcb_disconnect(c);
    }
    return nullptr;
}

bool waylandDisplayReachable(const char* waylandSocket, const char* waylandDisplay, const char* runtimeDir) {
    // A compositor that started us may hand over a connected socket instead of a name.
    if (waylandSocket && *waylandSocket) return true;
    const std::string name = waylandDisplay && *waylandDisplay ? waylandDisplay : "wayland-0";
    std::string path;
    if (name.front() == '/')
        path = name;
    else if (runtimeDir && *runtimeDir)
        path = std::string(runtimeDir) + "/" + name;
    else
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

bool qtPlatformPluginPresent(const std::string& name) {
    // Static: Qt's plugin folders and QT_PLUGIN_PATH, before any application object.
    const QStringList filter{QStringLiteral("libq%1*.so").arg(QString::fromStdString(name))};
    for (const QString& folder : QCoreApplication::libraryPaths())
        if (!QDir(folder + QStringLiteral("/platforms")).entryList(filter, QDir::Files).isEmpty())
            return true;
    return false;
}

bool runsOnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool x11InWaylandSession() {
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
           (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
            qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"));
}

}  // namespace platform
