// The main window's tray icon, screenshot hot key and screenshot.
#include <QCoreApplication>
#include <QCursor>
#include <QWindow>
#include <cstdio>
#include <string>

#include "app/vantrel_dlg.h"
#include "platform/display_choice.h"
#include "platform/hot_key.h"
#include "platform/screenshot.h"
#include "platform/tray_icon.h"

namespace {
constexpr WPARAM kHotKeyId = 0xC000;  // the registration's identifier; any value is handled
constexpr int kPortalScreenshotTimeoutMs = 10000;

void sayNoScreenshot(const std::string& path, platform::ScreenshotResult result) {
    if (result != platform::ScreenshotResult::Saved)
        std::fprintf(stderr, "vantrel: no screenshot saved to %s: %s\n", path.c_str(),
                     platform::describe(result));
}
}  // namespace

void CVantrelDlg::SetTrayIcon(bool bAdd) {
    if (!bAdd) {
        if (m_tray) m_tray->remove();
        return;
    }
    if (!m_tray) {
        m_tray = std::make_unique<platform::TrayIcon>(
            m_hIcon, QStringLiteral("Vantrel 1.0.0"),
            std::vector<platform::TrayIcon::MenuItem>{
                {QCoreApplication::translate("CVantrelDlg", "Show"), ID_TRAY_SHOW},
                {QCoreApplication::translate("CVantrelDlg", "Close"), ID_TRAY_CLOSE}},
            [this](unsigned mouse) { SendMessage(WM_TRAY_NOTIFY, kTrayIconId, LPARAM(mouse)); },
            [this](unsigned command) { PostMessage(WM_COMMAND, command); });
    }
    m_tray->add();
}

void CVantrelDlg::OnTrayNotify(WPARAM, LPARAM lParam) {
    switch (LOWORD(uintptr_t(lParam))) {
        case WM_RBUTTONUP:
            if (m_tray) m_tray->popupMenu(QCursor::pos());
            break;
        case WM_LBUTTONDBLCLK:
            RestoreFromTray();
            break;
        default:
            break;
    }
}

bool CVantrelDlg::RegisterScreenshotHotKey(int virtualKey, int controlFlags) {
    if (!m_hotKey)
        m_hotKey = std::make_unique<platform::GlobalHotKey>(
            [this] { PostMessage(WM_HOTKEY, kHotKeyId); },
            [this](const QString& why) {
                if (m_bHotKeyUnavailableSaid) return;
                m_bHotKeyUnavailableSaid = true;
                std::fprintf(stderr, "vantrel: the screenshot hot key is not available: %s\n",
                             why.toLocal8Bit().constData());
            });
    const bool registered =
        m_hotKey->registerKey(virtualKey & 0xFFFF, platform::hotKeyModifiers(controlFlags));
    // A combination held by another program stays silent; a desktop where no
    // combination can work is said once.
    if (!registered && (virtualKey & 0xFFFF) && !platform::GlobalHotKey::available() &&
        !m_bHotKeyUnavailableSaid) {
        m_bHotKeyUnavailableSaid = true;
        std::fputs(
            "vantrel: the screenshot hot key is not available: global hot keys need an X11 display "
            "or a desktop portal with global shortcuts\n",
            stderr);
    }
    return registered;
}

void CVantrelDlg::TakeScreenshot() {
    const RECT r = GetWindowRect();
    // The window stays above others from the first screenshot on.
    if (QWindow* w = windowHandle()) w->setFlag(Qt::WindowStaysOnTopHint, true);
    if (RectWidth(r) <= 0 || RectHeight(r) <= 0) return;
    // No folder set: write nothing rather than into the file system's root.
    if (m_strScreenshotPath.isEmpty()) return;
    const std::string path = (m_strScreenshotPath + QLatin1String("/Vantrel.bmp")).toStdString();
    const QRect area(r.left, r.top, RectWidth(r), RectHeight(r));
    std::optional<QRect> portalArea;
    double portalScale = 1.0;
    if (!platform::runsOnWayland()) {
        const platform::ScreenshotResult grabbed = platform::saveScreenArea(area, path);
        // XWayland gives an X client black where other programs' windows are; the
        // desktop's portal can look, and the window's X place is known.
        if (grabbed != platform::ScreenshotResult::BlackPicture || !platform::x11InWaylandSession()) {
            sayNoScreenshot(path, grabbed);
            return;
        }
        portalArea = area;
        portalScale = 0;
    }
    // A Wayland client cannot read the screen; the portal can. Presses while its
    // answer is awaited add nothing.
    if (screenshotPending_) return;
    screenshotPending_ = true;
    // A native Wayland client is not told where its window is: the whole desktop then.
    platform::savePortalScreenshot(this, portalArea, portalScale, path, kPortalScreenshotTimeoutMs,
                                   [this, path](platform::ScreenshotResult result) {
                                       screenshotPending_ = false;
                                       sayNoScreenshot(path, result);
                                   });
}
