// One call to an XDG desktop portal method that answers through a Request object:
// the method returns the request's path and the result comes later as that
// object's Response signal.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <functional>

class QDBusMessage;
class QTimer;

namespace platform {

inline constexpr char kPortalService[] = "org.freedesktop.portal.Desktop";
inline constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";

struct PortalAnswer {
    // The portal's code: 0 granted, 1 cancelled by the user, 2 anything else
    // (also a D-Bus error or no answer in time, with `error` saying which).
    uint response = 2;
    QVariantMap results;
    QString error;
    bool ok() const { return response == 0; }
};

// The path a portal gives the request or session of `token` made by the
// connection with unique name `sender` (":1.42" -> "1_42").
QString portalObjectPath(const QString& kind, const QString& sender, const QString& token);
// A token no other request of this process uses.
QString newPortalToken();

class PortalRequest : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(const PortalAnswer&)>;

    // Calls `interface`.`method`(`arguments`..., options) on the portal, where
    // options are `options` with a handle_token of its own. `done` runs once, on
    // the UI thread, at the latest `timeoutMs` after the call; the request then
    // deletes itself. Deleting its parent first cancels it without a call.
    static PortalRequest* start(QObject* parent, QDBusConnection bus, const QString& interface,
                                const QString& method, const QVariantList& arguments, QVariantMap options,
                                int timeoutMs, Done done);

  private slots:
    void onResponse(const QDBusMessage& message);

  private:
    PortalRequest(QObject* parent, QDBusConnection bus, Done done);
    bool subscribe(const QString& path);
    void unsubscribe();
    void finish(const PortalAnswer& answer);

    QDBusConnection bus_;
    Done done_;
    QString path_;
    QTimer* timer_ = nullptr;
    bool finished_ = false;
};

}  // namespace platform
