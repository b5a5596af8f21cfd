#include "platform/tray_icon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "platform/win_types.h"

namespace platform {

TrayIcon::TrayIcon(QIcon icon, QString tip, std::vector<MenuItem> menu, MouseCallback onMouse,
                   CommandCallback onCommand)
    : m_icon(std::make_unique<QSystemTrayIcon>(icon.isNull() ? fallbackAppIcon() : icon)),
      m_menu(std::make_unique<QMenu>()),
      m_onMouse(std::move(onMouse)),
      m_onCommand(std::move(onCommand)) {
    m_icon->setToolTip(tip);
    for (const MenuItem& item : menu) {
        const unsigned command = item.command;
        QObject::connect(m_menu->addAction(item.text), &QAction::triggered, this, [this, command] {
            if (m_onCommand) m_onCommand(command);
        });
    }
    QObject::connect(
        m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (const unsigned message = mouseMessageFor(reason, m_statusNotifierHost); message && m_onMouse)
                m_onMouse(message);
        });
}

TrayIcon::~TrayIcon() {
    remove();
}

namespace {
std::optional<bool> g_hostAvailable;
}

bool TrayIcon::hostAvailable() {
    return g_hostAvailable ? *g_hostAvailable : QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setHostAvailableForTests(std::optional<bool> available) {
    g_hostAvailable = available;
}

void TrayIcon::add() {
    // Qt makes the icon such an item where a watcher is registered; the host then
    // shows the menu it is given rather than asking the program for one.
    const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    m_statusNotifierHost = bus && bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
    if (m_statusNotifierHost) m_icon->setContextMenu(m_menu.get());
    m_icon->show();
    m_added = true;
}

void TrayIcon::remove() {
    if (m_menu) m_menu->hide();
    m_icon->hide();
    m_added = false;
}

QString TrayIcon::toolTip() const {
    return m_icon->toolTip();
}

void TrayIcon::popupMenu(const QPoint& at) {
    m_menu->popup(at);
}

unsigned TrayIcon::mouseMessageFor(int activationReason, bool statusNotifierHost) {
    switch (activationReason) {
        case QSystemTrayIcon::DoubleClick:
            return WM_LBUTTONDBLCLK;
        case QSystemTrayIcon::Trigger:
            return statusNotifierHost ? WM_LBUTTONDBLCLK : WM_LBUTTONUP;
        case QSystemTrayIcon::Context:
            return WM_RBUTTONUP;
        case QSystemTrayIcon::MiddleClick:
            return 0x0208;  // WM_MBUTTONUP
        default:
            return 0;
    }
}

QIcon fallbackAppIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xC8, 0x00, 0x00));
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    p.drawEllipse(2, 2, 28, 28);
    p.setBrush(QColor(0x10, 0x10, 0x10));
    p.drawEllipse(11, 11, 10, 10);
    return QIcon(pixmap);
}

}  // namespace platform
