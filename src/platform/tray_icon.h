// The notification-area icon and its menu. Activations arrive as the mouse
// message a tray callback carries (WM_LBUTTONDBLCLK, WM_RBUTTONUP, ...); menu
// choices as their command IDs.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QSystemTrayIcon;

namespace platform {

class TrayIcon : public QObject {
    Q_OBJECT
  public:
    struct MenuItem {
        QString text;
        unsigned command;
    };
    using MouseCallback = std::function<void(unsigned mouseMessage)>;
    using CommandCallback = std::function<void(unsigned command)>;

    TrayIcon(QIcon icon, QString tip, std::vector<MenuItem> menu, MouseCallback onMouse,
             CommandCallback onCommand);
    ~TrayIcon() override;

    void add();
    void remove();
    bool isAdded() const { return m_added; }
    QString toolTip() const;

    // Pops the menu up at a screen point; a choice reaches the command callback.
    void popupMenu(const QPoint& at);
    QMenu* menu() const { return m_menu.get(); }

    // Whether the desktop has a system tray to hold the icon. Tests may decide
    // instead (nullopt: ask the desktop again).
    static bool hostAvailable();
    static void setHostAvailableForTests(std::optional<bool> available);

    // The mouse message of a Qt activation reason (QSystemTrayIcon::ActivationReason).
    // A StatusNotifierItem host never reports a double click: its activation (the
    // host's primary click) stands for one there.
    static unsigned mouseMessageFor(int activationReason, bool statusNotifierHost = false);

  private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<QMenu> m_menu;
    MouseCallback m_onMouse;
    CommandCallback m_onCommand;
    bool m_added = false;
    bool m_statusNotifierHost = false;  // the icon is an item of such a host
};

// A stand-in picture for the icon when the icon file is missing: the tray shows
// nothing for a null icon.
QIcon fallbackAppIcon();

}  // namespace platform
