// Hands rectangles of a top-level window's picture to the X server through a
// shared-memory image of its own: one request per rectangle, nothing to wait
// for and no answer from the server. Qt's own backing store asks the server, on
// every paint of an area it sent before, whether it has finished reading it.
// Here each pixel of the shared image stands for the same pixel of the window,
// and a present writes it before its put goes out: a put the server carries out
// late can only show newer pixels of the same place, which the put that follows
// shows again. So the window on the screen always ends as the last picture.
//
// Qt still serves exposes from the window's backing store, so what went to the
// screen this way is copied there when an expose comes (and what Qt paints
// itself it has already).
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <memory>

class QWidget;
class QWindow;

namespace platform {

class ShmPresenter : public QObject {
  public:
    // Null where the picture cannot go this way: not X11, no MIT-SHM, a window
    // whose pixels are not 32-bit premultiplied ARGB, no shared memory to be had.
    // The window must be shown (it has its native window).
    static std::unique_ptr<ShmPresenter> create(QWidget* window);
    ~ShmPresenter() override;

    // Still made for this window: the same native window at the same size.
    bool fits(const QWidget* window) const;
    // Puts `area` of `picture` (the window's size) on the screen; false, and
    // nothing sent, for a picture that is not ARGB32 premultiplied.
    bool present(const QImage& picture, const QRegion& area);
    // Qt painted `area` into the window's backing store itself.
    void storeUpdated(const QRegion& area) { m_behind -= area; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Segment;
    ShmPresenter(QWidget* window, std::unique_ptr<Segment> segment);
    // Copies what only went to the screen into the window's backing store.
    void catchUpStore();

    QWidget* m_window;
    QPointer<QWindow> m_handle;
    quintptr m_windowId;
    std::unique_ptr<Segment> m_segment;
    uint32_t m_gc = 0;
    QRegion m_behind;  // on the screen from here, not yet in Qt's backing store
};

}  // namespace platform
