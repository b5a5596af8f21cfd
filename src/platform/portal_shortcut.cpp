#include "platform/portal_shortcut.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QList>
#include <QVariantMap>
#include <algorithm>

#include "platform/portal_request.h"

namespace platform {
namespace {
constexpr char kInterface[] = "org.freedesktop.portal.GlobalShortcuts";

// One entry of the a(sa{sv}) list BindShortcuts takes and answers with.
struct ShortcutEntry {
    QString id;
    QVariantMap options;
};
}  // namespace
}  // namespace platform

Q_DECLARE_METATYPE(platform::ShortcutEntry)

namespace platform {
namespace {

QDBusArgument& operator<<(QDBusArgument& arg, const ShortcutEntry& entry) {
    arg.beginStructure();
    arg << entry.id << entry.options;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, ShortcutEntry& entry) {
    arg.beginStructure();
    arg >> entry.id >> entry.options;
    arg.endStructure();
    return arg;
}

void registerTypes() {
    static const bool done = [] {
        qDBusRegisterMetaType<ShortcutEntry>();
        qDBusRegisterMetaType<QList<ShortcutEntry>>();
        return true;
    }();
    (void)done;
}

// The session handle is a string in current portals, an object path in old ones.
QString pathOf(const QVariant& value) {
    if (value.canConvert<QDBusObjectPath>() && value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

}  // namespace

PortalShortcut::PortalShortcut(QDBusConnection bus, std::function<void()> onActivated,
                               std::function<void(const QString&)> onFailed, QObject* parent)
    : QObject(parent),
      bus_(std::move(bus)),
      onActivated_(std::move(onActivated)),
      onFailed_(std::move(onFailed)) {
    registerTypes();
}

PortalShortcut::~PortalShortcut() {
    closeSession();
}

bool PortalShortcut::available(QDBusConnection bus, int timeoutMs) {
    if (!bus.isConnected()) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(kPortalService), QString::fromLatin1(kPortalPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({QString::fromLatin1(kInterface), QStringLiteral("version")});
    const QDBusMessage reply = bus.call(get, QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void PortalShortcut::bind(const QString& id, const QString& description, const QString& trigger) {
    id_ = id;
    // Presses may follow the binding's answer at once: listen from the start.
    subscribed_ = bus_.connect(QString::fromLatin1(kPortalService), QString::fromLatin1(kPortalPath),
                               QString::fromLatin1(kInterface), QStringLiteral("Activated"), this,
                               SLOT(onActivatedSignal(QDBusMessage)));
    const QVariantMap sessionOptions{{QStringLiteral("session_handle_token"), newPortalToken()}};
    PortalRequest::start(
        this, bus_, QString::fromLatin1(kInterface), QStringLiteral("CreateSession"), {}, sessionOptions,
        kAnswerTimeoutMs, [this, description, trigger](const PortalAnswer& created) {
            if (!created.ok()) {
                fail(created.error.isEmpty() ? QStringLiteral("the desktop refused a shortcut session")
                                             : created.error);
                return;
            }
            session_ = pathOf(created.results.value(QStringLiteral("session_handle")));
            if (session_.isEmpty()) {
                fail(QStringLiteral("the desktop gave no shortcut session"));
                return;
            }
            const QList<ShortcutEntry> shortcuts{{id_,
                                                  {{QStringLiteral("description"), description},
                                                   {QStringLiteral("preferred_trigger"), trigger}}}};
            const QVariantList args{QVariant::fromValue(QDBusObjectPath(session_)),
                                    QVariant::fromValue(shortcuts), QString()};
            PortalRequest::start(
                this, bus_, QString::fromLatin1(kInterface), QStringLiteral("BindShortcuts"), args, {},
                kBindTimeoutMs, [this](const PortalAnswer& bound) {
                    if (!bound.ok()) {
                        fail(bound.error.isEmpty() ? QStringLiteral("the desktop refused the shortcut")
                                                   : bound.error);
                        return;
                    }
                    const QVariant list = bound.results.value(QStringLiteral("shortcuts"));
                    if (list.canConvert<QDBusArgument>()) {
                        const auto given = qdbus_cast<QList<ShortcutEntry>>(list);
                        const bool ours = std::any_of(given.begin(), given.end(),
                                                      [this](const ShortcutEntry& e) { return e.id == id_; });
                        if (!ours) {
                            fail(QStringLiteral("the desktop did not bind the shortcut"));
                            return;
                        }
                    }
                    bound_ = true;
                });
        });
}

void PortalShortcut::onActivatedSignal(const QDBusMessage& message) {
    if (failed_ || session_.isEmpty()) return;
    const QVariantList args = message.arguments();
    if (args.size() < 2 || pathOf(args[0]) != session_ || args[1].toString() != id_) return;
    if (onActivated_) onActivated_();
}

void PortalShortcut::fail(const QString& why) {
    if (failed_) return;
    failed_ = true;
    bound_ = false;
    closeSession();
    // Moved out first: the callback may delete this object.
    auto onFailed = std::move(onFailed_);
    if (onFailed) onFailed(why);
}

void PortalShortcut::closeSession() {
    if (subscribed_) {
        bus_.disconnect(QString::fromLatin1(kPortalService), QString::fromLatin1(kPortalPath),
                        QString::fromLatin1(kInterface), QStringLiteral("Activated"), this,
                        SLOT(onActivatedSignal(QDBusMessage)));
        subscribed_ = false;
    }
    if (!session_.isEmpty() && bus_.isConnected())
        bus_.send(QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService), session_,
                                                 QStringLiteral("org.freedesktop.portal.Session"),
                                                 QStringLiteral("Close")));
    session_.clear();
}

}  // namespace platform
