// A global shortcut held through the desktop portal's GlobalShortcuts interface:
// the Wayland way to a system-wide hot key.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

class QDBusMessage;

namespace platform {

class PortalShortcut : public QObject {
    Q_OBJECT
  public:
    // `onActivated` runs for each press; `onFailed` once when the desktop refuses
    // the session or the binding (the shortcut is then gone).
    PortalShortcut(QDBusConnection bus, std::function<void()> onActivated,
                   std::function<void(const QString& why)> onFailed, QObject* parent = nullptr);
    ~PortalShortcut() override;

    // Whether the portal on `bus` offers GlobalShortcuts; asks it, waiting at most
    // `timeoutMs`.
    static bool available(QDBusConnection bus, int timeoutMs = 2000);

    // Creates the session and binds one shortcut `id` with `trigger` (the shortcuts
    // trigger syntax, "CTRL+ALT+F12") as its preferred trigger. Answers come later.
    void bind(const QString& id, const QString& description, const QString& trigger);
    bool failed() const { return failed_; }
    bool bound() const { return bound_; }

    static constexpr int kAnswerTimeoutMs = 10000;
    // The desktop may ask the user before it binds.
    static constexpr int kBindTimeoutMs = 120000;

  private slots:
    void onActivatedSignal(const QDBusMessage& message);

  private:
    void fail(const QString& why);
    void closeSession();

    QDBusConnection bus_;
    std::function<void()> onActivated_;
    std::function<void(const QString&)> onFailed_;
    QString id_;
    QString session_;
    bool subscribed_ = false;
    bool bound_ = false;
    bool failed_ = false;
};

}  // namespace platform
