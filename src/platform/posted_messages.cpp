#include "platform/posted_messages.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <vector>

namespace platform {
namespace {

struct Waiting {
    QPointer<QObject> to;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Only the GUI thread touches these.
struct Deferred {
    int handling = 0;  // events being handled by windows, nested
    bool delivering = false;
    QPointer<QAbstractEventDispatcher> watched;
    std::vector<Waiting> waiting;
};

Deferred& deferred() {
    static Deferred d;
    return d;
}

// Posted messages in Qt's queue, from any thread.
std::atomic<int> g_queued{0};

bool onGuiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void deliverWaiting() {
    Deferred& d = deferred();
    if (d.waiting.empty() || d.delivering) return;
    std::vector<Waiting> now;
    now.swap(d.waiting);
    // What these post goes through the queue: a message that posts itself
    // again yields to the event loop each time.
    d.delivering = true;
    for (const Waiting& w : now) {
        if (!w.to) continue;
        PostedMessage event(w.message, w.wParam, w.lParam);
        QCoreApplication::sendEvent(w.to, &event);
    }
    d.delivering = false;
}

}  // namespace

QEvent::Type PostedMessage::kind() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

PostedMessage::PostedMessage(UINT m, WPARAM w, LPARAM l, bool queued)
    : QEvent(kind()), message(m), wParam(w), lParam(l), m_queued(queued) {
    if (m_queued) ++g_queued;
}

PostedMessage::~PostedMessage() {
    if (m_queued) --g_queued;
}

void PostedMessage::delivered() {
    if (m_queued) --g_queued;
    m_queued = false;
}

void postMessage(QObject* to, UINT message, WPARAM wParam, LPARAM lParam) {
    Deferred& d = deferred();
    if (onGuiThread() && to->thread() == QThread::currentThread() && d.handling > 0 && !d.delivering &&
        g_queued.load() == 0) {
        // A handler that waits in a loop of its own gets them before that loop
        // sleeps, where the queue would have handed them over.
        QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
        if (dispatcher && d.watched != dispatcher) {
            d.watched = dispatcher;
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, deliverWaiting);
        }
        d.waiting.push_back({to, message, wParam, lParam});
        return;
    }
    QCoreApplication::postEvent(to, new PostedMessage(message, wParam, lParam, true));
}

EventHandling::EventHandling() : m_counted(onGuiThread()) {
    if (!m_counted) return;
    // A nested loop: what waits was posted before this event came.
    deliverWaiting();
    ++deferred().handling;
}

EventHandling::~EventHandling() {
    if (!m_counted) return;
    deliverWaiting();
    --deferred().handling;
}

}  // namespace platform
