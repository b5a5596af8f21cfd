#include "platform/shm_presenter.h"

#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>
#include <unistd.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <QBackingStore>
#include <QEvent>
#include <QPainter>
#include <QSysInfo>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/x11_connection.h"

namespace platform {
namespace {

// The only depth presented this way: 32-bit premultiplied ARGB.
constexpr uint8_t kDepth = 32;
// Pictures the server keeps for a window: an animation's frames, with room to spare.
constexpr size_t kKeptPictures = 32;

template <typename Reply>
struct Freed {
    Reply* reply;
    ~Freed() { std::free(reply); }
    Reply* operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

// The visual of a depth-32 window holds premultiplied ARGB in the layout of
// QImage::Format_ARGB32_Premultiplied only with these masks, 32 bits a pixel
// and the server's byte order the same as ours.
bool isArgb32(xcb_connection_t* c, xcb_visualid_t visual) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const bool littleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    if (setup->image_byte_order != (littleEndian ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST))
        return false;
    bool bits32 = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        if (f.data->depth == kDepth) bits32 = f.data->bits_per_pixel == 32;
    if (!bits32) return false;
    for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s))
        for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d)) {
            if (d.data->depth != kDepth) continue;
            for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
                if (v.data->visual_id == visual)
                    return v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && v.data->red_mask == 0xFF0000 &&
                           v.data->green_mask == 0xFF00 && v.data->blue_mask == 0xFF;
        }
    return false;
}

}  // namespace

struct ShmPresenter::Segment {
    xcb_connection_t* connection = nullptr;
    xcb_shm_seg_t id = 0;
    uchar* address = nullptr;
    size_t bytes = 0;
    bool mapped = false;  // from the server's file descriptor, else System V
    QImage image;

    ~Segment() {
        if (!address) return;
        if (id && connection == x11Connection()) xcb_shm_detach(connection, id);
        if (mapped)
            munmap(address, bytes);
        else
            shmdt(address);
    }

    // A segment the server made and handed over (MIT-SHM 1.2), else one made
    // here and attached; the server refusing both leaves none.
    static std::shared_ptr<Segment> make(xcb_connection_t* c, QSize size) {
        auto segment = std::make_shared<Segment>();
        segment->connection = c;
        segment->bytes = size_t(size.width()) * size_t(size.height()) * 4;
        if (!segment->fromServer() && !segment->fromSystemV()) return nullptr;
        segment->image = QImage(segment->address, size.width(), size.height(), size.width() * 4,
                                QImage::Format_ARGB32_Premultiplied);
        return segment;
    }

  private:
    bool fromServer() {
        Freed<xcb_shm_query_version_reply_t> version{
            xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr)};
        if (!version || (version->major_version == 1 && version->minor_version < 2)) return false;
        const xcb_shm_seg_t seg = xcb_generate_id(connection);
        Freed<xcb_shm_create_segment_reply_t> reply{xcb_shm_create_segment_reply(
            connection, xcb_shm_create_segment(connection, seg, uint32_t(bytes), false), nullptr)};
        if (!reply) return false;
        int* fds = xcb_shm_create_segment_reply_fds(connection, reply.reply);
        if (reply->nfd != 1) {
            for (int i = 0; i < reply->nfd; ++i) close(fds[i]);
            xcb_shm_detach(connection, seg);
            return false;
        }
        void* at = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fds[0], 0);
        close(fds[0]);
        if (at == MAP_FAILED) {
            xcb_shm_detach(connection, seg);
            return false;
        }
        id = seg;
        address = static_cast<uchar*>(at);
        mapped = true;
        return true;
    }

    bool fromSystemV() {
        const int shmId = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (shmId == -1) return false;
        void* at = shmat(shmId, nullptr, 0);
        if (at == reinterpret_cast<void*>(-1)) {
            shmctl(shmId, IPC_RMID, nullptr);
            return false;
        }
        const xcb_shm_seg_t seg = xcb_generate_id(connection);
        xcb_generic_error_t* error =
            xcb_request_check(connection, xcb_shm_attach_checked(connection, seg, uint32_t(shmId), false));
        // Gone once both sides let go.
        shmctl(shmId, IPC_RMID, nullptr);
        if (error) {
            std::free(error);
            shmdt(at);
            return false;
        }
        id = seg;
        address = static_cast<uchar*>(at);
        return true;
    }
};

std::unique_ptr<ShmPresenter> ShmPresenter::create(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    const quintptr id = window->internalWinId();
    if (!c || !id || !window->windowHandle() || window->size().isEmpty()) return nullptr;
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
    if (!shm || !shm->present) return nullptr;

    const auto xid = xcb_window_t(id);
    Freed<xcb_get_geometry_reply_t> geometry{xcb_get_geometry_reply(c, xcb_get_geometry(c, xid), nullptr)};
    Freed<xcb_get_window_attributes_reply_t> attributes{
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, xid), nullptr)};
    if (!geometry || !attributes || geometry->depth != kDepth || !isArgb32(c, attributes->visual))
        return nullptr;

    std::shared_ptr<Segment> segment = Segment::make(c, window->size());
    if (!segment) return nullptr;
    return std::unique_ptr<ShmPresenter>(new ShmPresenter(window, std::move(segment)));
}

ShmPresenter::ShmPresenter(QWidget* window, std::shared_ptr<Segment> segment)
    : m_window(window),
      m_handle(window->windowHandle()),
      m_windowId(window->internalWinId()),
      m_segment(std::move(segment)) {
    xcb_connection_t* c = m_segment->connection;
    m_gc = xcb_generate_id(c);
    const uint32_t noExposures = 0;
    xcb_create_gc(c, m_gc, xcb_window_t(m_windowId), XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    m_handle->installEventFilter(this);
}

ShmPresenter::~ShmPresenter() {
    xcb_connection_t* c = m_segment->connection;
    if (c != x11Connection()) return;  // the application's connection is gone with it
    for (const Kept& k : m_kept) xcb_free_pixmap(c, k.pixmap);
    xcb_free_gc(c, m_gc);
    m_segment.reset();
    xcb_flush(c);
}

bool ShmPresenter::fits(const QWidget* window) const {
    return window->internalWinId() == m_windowId && window->windowHandle() == m_handle &&
           window->size() == m_segment->image.size();
}

bool ShmPresenter::holds(const QImage& picture) const {
    return picture.constBits() == m_segment->address;
}

bool ShmPresenter::ownSegment(const QImage& picture) {
    if (m_segment.use_count() == 1) return true;
    std::shared_ptr<Segment> fresh = Segment::make(m_segment->connection, m_segment->image.size());
    if (!fresh) return false;
    m_segment = std::move(fresh);
    // What only went to the screen must still be there for catchUpStore.
    copyIn(picture, picture.rect() & m_segment->image.rect());
    return true;
}

void ShmPresenter::copyIn(const QImage& picture, const QRect& r) {
    uchar* const into = m_segment->address;
    const qsizetype intoStride = m_segment->image.bytesPerLine();
    const size_t rowBytes = size_t(r.width()) * 4;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(into + y * intoStride + r.left() * 4, picture.constScanLine(y) + r.left() * 4, rowBytes);
}

QImage ShmPresenter::adopt(const QImage& picture) {
    if (picture.size() != m_segment->image.size() || picture.format() != m_segment->image.format()) return {};
    if (holds(picture)) return picture;
    if (m_segment.use_count() > 1) {
        if (!ownSegment(picture)) return {};
    } else {
        copyIn(picture, picture.rect());
    }
    const QSize size = m_segment->image.size();
    auto* keeper = new std::shared_ptr<Segment>(m_segment);
    QImage on(
        m_segment->address, size.width(), size.height(), size.width() * 4,
        QImage::Format_ARGB32_Premultiplied,
        [](void* held) { delete static_cast<std::shared_ptr<Segment>*>(held); }, keeper);
    on.setDotsPerMeterX(picture.dotsPerMeterX());
    on.setDotsPerMeterY(picture.dotsPerMeterY());
    on.setDevicePixelRatio(picture.devicePixelRatio());
    return on;
}

bool ShmPresenter::present(const QImage& picture, const QRegion& area) {
    const QRegion inside = area & m_segment->image.rect() & picture.rect();
    if (picture.format() != m_segment->image.format()) return false;
    if (inside.isEmpty()) return true;
    if (!holds(picture)) {
        // Composed elsewhere: copied in, unless an image outside lies on it.
        if (!ownSegment(picture)) return false;
        for (const QRect& r : inside) copyIn(picture, r);
    }
    xcb_connection_t* c = m_segment->connection;
    const auto window = xcb_window_t(m_windowId);
    const QImage& image = m_segment->image;
    for (const QRect& r : inside) {
        xcb_shm_put_image(c, window, m_gc, uint16_t(image.width()), uint16_t(image.height()), int16_t(r.x()),
                          int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height()), int16_t(r.x()),
                          int16_t(r.y()), kDepth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, m_segment->id, 0);
    }
    xcb_flush(c);
    m_behind += inside;
    return true;
}

uint32_t ShmPresenter::keptPixmap(const QImage& pixels) {
    for (Kept& k : m_kept)
        if (k.image == pixels.cacheKey() && k.size == pixels.size()) {
            k.lastUse = ++m_keptClock;
            return k.pixmap;
        }
    xcb_connection_t* c = m_segment->connection;
    if (m_kept.size() >= kKeptPictures) {
        const auto oldest = std::min_element(
            m_kept.begin(), m_kept.end(), [](const Kept& a, const Kept& b) { return a.lastUse < b.lastUse; });
        xcb_free_pixmap(c, oldest->pixmap);
        m_kept.erase(oldest);
    }
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    // Asked once per picture: a server short of memory says so here, not at every showing.
    if (xcb_generic_error_t* error = xcb_request_check(
            c, xcb_create_pixmap_checked(c, kDepth, pixmap, xcb_window_t(m_windowId),
                                         uint16_t(pixels.width()), uint16_t(pixels.height())))) {
        std::free(error);
        return 0;
    }
    // In bands that fit one request each.
    const size_t rowBytes = size_t(pixels.width()) * 4;
    const size_t requestBytes = size_t(xcb_get_maximum_request_length(c)) * 4;
    const int bandRows = int(std::max<size_t>(1, (requestBytes - 64) / rowBytes));
    for (int top = 0; top < pixels.height(); top += bandRows) {
        const int rows = std::min(bandRows, pixels.height() - top);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, m_gc, uint16_t(pixels.width()), uint16_t(rows), 0,
                      int16_t(top), 0, kDepth, uint32_t(rowBytes * size_t(rows)), pixels.constScanLine(top));
    }
    m_kept.push_back({pixels.cacheKey(), pixmap, pixels.size(), ++m_keptClock});
    return pixmap;
}

bool ShmPresenter::showKept(const QImage& pixels, QPoint at) {
    const QRect r(at, pixels.size());
    if (pixels.format() != QImage::Format_ARGB32_Premultiplied || pixels.isNull() ||
        pixels.bytesPerLine() != qsizetype(pixels.width()) * 4 || !m_segment->image.rect().contains(r))
        return false;
    const uint32_t pixmap = keptPixmap(pixels);
    if (!pixmap) return false;
    xcb_connection_t* c = m_segment->connection;
    xcb_copy_area(c, pixmap, xcb_window_t(m_windowId), m_gc, 0, 0, int16_t(r.x()), int16_t(r.y()),
                  uint16_t(r.width()), uint16_t(r.height()));
    xcb_flush(c);
    m_behind += r;
    return true;
}

bool ShmPresenter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_handle && event->type() == QEvent::Expose) catchUpStore();
    return false;
}

void ShmPresenter::catchUpStore() {
    QBackingStore* store = m_window->backingStore();
    if (m_behind.isEmpty() || !store) return;
    if (m_beforeReading) m_beforeReading();
    const QRegion behind = m_behind & QRect(QPoint(0, 0), store->size());
    m_behind = QRegion();
    if (behind.isEmpty()) return;
    store->beginPaint(behind);
    if (QPaintDevice* device = store->paintDevice()) {
        QPainter p(device);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& r : behind) p.drawImage(r.topLeft(), m_segment->image, r);
    }
    store->endPaint();
}

}  // namespace platform
