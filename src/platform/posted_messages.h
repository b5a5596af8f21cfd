// Messages posted to windows. One that a window of the GUI thread posts while a
// window handles an event, with none of its kind left in Qt's queue, waits in a
// list of its own and is delivered when that handling returns, or earlier where
// the handler runs a loop of its own (before it sleeps, or hands a window an
// event): after the handler, in the order posted, as through the queue, but
// without waking the event loop again.
// The eye posts a command at each of its frames.
#pragma once

#include <QEvent>
#include <atomic>

#include "platform/win_types.h"

class QObject;

namespace platform {

class PostedMessage : public QEvent {
  public:
    static QEvent::Type kind();
    PostedMessage(UINT m, WPARAM w, LPARAM l, bool queued = false);
    ~PostedMessage() override;
    // Taken out of the queue: what its handler posts need not wait behind it.
    void delivered();
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

  private:
    bool m_queued;  // counted while in Qt's queue
};

// Delivers `message` to `to` (a window) after the event being handled.
void postMessage(QObject* to, UINT message, WPARAM wParam, LPARAM lParam);

// Held while a window handles an event.
class EventHandling {
  public:
    EventHandling();
    ~EventHandling();
    EventHandling(const EventHandling&) = delete;
    EventHandling& operator=(const EventHandling&) = delete;

  private:
    bool m_counted;
};

}  // namespace platform
