// Hands rectangles of a top-level window's picture to the X server through a
// shared-memory image of its own: one request per rectangle, nothing to wait
// for and no answer from the server. Qt's own backing store asks the server, on
// every paint of an area it sent before, whether it has finished reading it.
// Here each pixel of the shared image stands for the same pixel of the window,
// and a present writes it before its put goes out: a put the server carries out
// late can only show newer pixels of the same place, which the put that follows
// shows again. So the window on the screen always ends as the last picture.
//
// The window may compose straight into the shared image (adopt): a present of
// that picture then copies nothing. A server that reads a put late may then
// show a paint half done for one frame; the put that follows shows it whole.
//
// Qt still serves exposes from the window's backing store, so what went to the
// screen this way is copied there when an expose comes (and what Qt paints
// itself it has already).
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <functional>
#include <memory>
#include <vector>

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
    // `picture` (the window's size) copied into the shared image, to be painted
    // on from now on: an image on the shared memory, which stays while any copy
    // of it does. Null where no shared memory is to be had.
    QImage adopt(const QImage& picture);
    // Whether `picture` lies on the shared image.
    bool holds(const QImage& picture) const;
    // Qt painted `area` into the window's backing store itself.
    void storeUpdated(const QRegion& area) { m_behind -= area; }
    // Puts `pixels` (ARGB32 premultiplied) on the screen at `at` from a copy the
    // server keeps, made at their first showing: no pixel leaves this process
    // again for the same image. False, nothing sent, where the server will not
    // keep them or they do not lie inside the window. The window's picture then
    // lags behind the screen there until the window brings it up to date.
    bool showKept(const QImage& pixels, QPoint at);
    // Called before the presenter reads the window's picture (an expose), so that
    // the window can bring it up to date.
    void setBeforeReading(std::function<void()> bringUpToDate) { m_beforeReading = std::move(bringUpToDate); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Segment;
    ShmPresenter(QWidget* window, std::shared_ptr<Segment> segment);
    // A new shared image holding all of `picture` where an image outside still
    // lies on the present one (it must not change under it).
    bool ownSegment(const QImage& picture);
    // Rectangle `r` of `picture` into the shared image.
    void copyIn(const QImage& picture, const QRect& r);
    // Copies what only went to the screen into the window's backing store.
    void catchUpStore();

    QWidget* m_window;
    QPointer<QWindow> m_handle;
    quintptr m_windowId;
    std::shared_ptr<Segment> m_segment;  // also held by every image adopted on it
    uint32_t m_gc = 0;
    QRegion m_behind;  // on the screen from here, not yet in Qt's backing store
    std::function<void()> m_beforeReading;
    struct Kept {
        qint64 image = 0;  // QImage::cacheKey()
        uint32_t pixmap = 0;
        QSize size;
        uint64_t lastUse = 0;
    };
    std::vector<Kept> m_kept;
    uint64_t m_keptClock = 0;
    // The server's copy of `pixels`, made now where there is none; 0 where the server refuses.
    uint32_t keptPixmap(const QImage& pixels);
};

}  // namespace platform
