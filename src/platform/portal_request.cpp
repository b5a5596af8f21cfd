#include "platform/portal_request.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>
#include <QTimer>

namespace platform {

namespace {
constexpr char kRequestInterface[] = "org.freedesktop.portal.Request";
}

QString portalObjectPath(const QString& kind, const QString& sender, const QString& token) {
    QString name = sender;
    if (name.startsWith(QLatin1Char(':'))) name.remove(0, 1);
    name.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/%1/%2/%3").arg(kind, name, token);
}

QString newPortalToken() {
    static unsigned counter = 0;
    // Only letters, digits and underscores are allowed in a token.
    return QStringLiteral("vantrel%1_%2").arg(++counter).arg(QRandomGenerator::global()->generate());
}

PortalRequest::PortalRequest(QObject* parent, QDBusConnection bus, Done done)
    : QObject(parent), bus_(std::move(bus)), done_(std::move(done)) {}

PortalRequest* PortalRequest::start(QObject* parent, QDBusConnection bus, const QString& interface,
                                    const QString& method, const QVariantList& arguments, QVariantMap options,
                                    int timeoutMs, Done done) {
    auto* request = new PortalRequest(parent, bus, std::move(done));
    if (!bus.isConnected()) {
        // Answered from the event loop, as every other outcome is.
        QTimer::singleShot(0, request, [request] {
            request->finish({2, {}, QStringLiteral("no session bus")});
        });
        return request;
    }
    const QString token = newPortalToken();
    options.insert(QStringLiteral("handle_token"), token);
    // The answer may come before the call returns: listen first.
    request->subscribe(portalObjectPath(QStringLiteral("request"), bus.baseService(), token));

    request->timer_ = new QTimer(request);
    request->timer_->setSingleShot(true);
    connect(request->timer_, &QTimer::timeout, request, [request] {
        if (!request->path_.isEmpty())
            request->bus_.send(QDBusMessage::createMethodCall(
                QString::fromLatin1(kPortalService), request->path_, QString::fromLatin1(kRequestInterface),
                QStringLiteral("Close")));
        request->finish({2, {}, QStringLiteral("the portal did not answer in time")});
    });
    request->timer_->start(timeoutMs);

    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService),
                                                       QString::fromLatin1(kPortalPath), interface, method);
    QVariantList args = arguments;
    args.append(options);
    call.setArguments(args);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request, [request](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (request->finished_) return;
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            request->finish({2, {}, reply.error().message()});
            return;
        }
        // A portal older than handle tokens picks a path of its own.
        const QString path = reply.value().path();
        if (path != request->path_) {
            request->unsubscribe();
            request->subscribe(path);
        }
    });
    return request;
}

bool PortalRequest::subscribe(const QString& path) {
    path_ = path;
    return bus_.connect(QString::fromLatin1(kPortalService), path, QString::fromLatin1(kRequestInterface),
                        QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
}

void PortalRequest::unsubscribe() {
    if (path_.isEmpty()) return;
    bus_.disconnect(QString::fromLatin1(kPortalService), path_, QString::fromLatin1(kRequestInterface),
                    QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
}

void PortalRequest::onResponse(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    PortalAnswer answer;
    if (args.size() >= 1) answer.response = args[0].toUInt();
    if (args.size() >= 2 && args[1].canConvert<QDBusArgument>())
        answer.results = qdbus_cast<QVariantMap>(args[1].value<QDBusArgument>());
    else if (args.size() >= 2)
        answer.results = args[1].toMap();
    if (args.size() < 2) answer = {2, {}, QStringLiteral("a malformed answer")};
    finish(answer);
}

void PortalRequest::finish(const PortalAnswer& answer) {
    if (finished_) return;
    finished_ = true;
    unsubscribe();
    if (timer_) timer_->stop();
    deleteLater();
    // Moved out first: the callback may delete this request's parent, and so this request.
    Done done = std::move(done_);
    if (done) done(answer);
}

}  // namespace platform
