#include "platform/window.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/obscured_watch.h"
#include "platform/posted_messages.h"
#include "platform/shm_presenter.h"
#include "platform/virtual_keys.h"
#include "platform/window_accessible.h"

namespace platform {
namespace {

constexpr UINT kMinimumTimerMs = 10;
constexpr WPARAM SIZE_RESTORED = 0;

// The whole pixel a pointer position lies in.
QPoint pixel(const QPointF& p) {
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

}  // namespace

Window::Window(Window* parent) : Window(parent, Placement::TopLevel) {}

Window::Window(QWidget* parent, Placement placement)
    : QWidget(parent, placement == Placement::Child ? Qt::Widget : Qt::Window), m_placement(placement) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    installWindowAccessibility();
    // A child starts hidden, as a top-level window does.
    if (placement == Placement::Child) setAttribute(Qt::WA_WState_Hidden);
}

void Window::SetParent(QWidget* parent) {
    const bool shown = !isHidden();
    const QPoint at = pos();
    m_quietShow = true;
    setParent(parent, windowFlags());
    move(at);
    setVisible(shown);
    m_quietShow = false;
}

Window* Window::GetParent() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* window = qobject_cast<Window*>(w)) return window;
    return nullptr;
}

Window::~Window() {
    if (m_modalLoop) m_modalLoop->quit();
    if (m_watchedHandle) m_watchedHandle->removeEventFilter(this);
}

bool Window::PresentDirectly(const QRegion& area) {
    if (m_presenter && !m_presenter->fits(this)) m_presenter.reset();
    const std::pair<quintptr, QSize> now(internalWinId(), size());
    if (!m_presenter && m_presenterRefused != now) {
        m_presenter = ShmPresenter::create(this);
        if (!m_presenter) m_presenterRefused = now;
        if (m_presenter) m_presenter->setBeforeReading([this] { BringSurfaceUpToDate(); });
    }
    if (!m_presenter || !m_presenter->present(m_surface, area)) return false;
    for (const QRect& r : area) m_flushedPixels += qint64(r.width()) * r.height();
    // Composed on the shared image from now on: the next present copies nothing.
    if (!m_presenter->holds(m_surface))
        if (QImage shared = m_presenter->adopt(m_surface); !shared.isNull()) m_surface = std::move(shared);
    return true;
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return OnCommand(wParam, lParam) ? 1 : 0;
        case WM_TIMER:
            OnTimer(UINT(wParam));
            return 0;
        case WM_MOVE:
            OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_SYSCOMMAND:
            OnSysCommand(wParam, lParam);
            return 0;
        case WM_KEYDOWN:
            // Inside a dialog the keys are the dialog's (the event goes on to it).
            if (IsChild()) return 0;
            if (wParam == WPARAM(VK_ESCAPE)) OnCancel();
            if (wParam == WPARAM(VK_RETURN)) OnOK();
            return 0;
        default:
            return DefWindowProc(message, wParam, lParam);
    }
}

LRESULT Window::DefWindowProc(UINT message, WPARAM, LPARAM) {
    return message == WM_NCHITTEST ? HTCLIENT : 0;
}

bool Window::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return true;
        case IDCANCEL:
            OnCancel();
            return true;
        default:
            return false;
    }
}

void Window::OnSysCommand(WPARAM code, LPARAM) {
    switch (code & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(WM_CLOSE);
            break;
        case SC_MINIMIZE:
            ShowWindow(SW_MINIMIZE);
            break;
        default:
            break;
    }
}

bool Window::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_destroyed) return false;
    postMessage(this, message, wParam, lParam);
    return true;
}

LRESULT Window::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

bool Window::SetTimer(UINT id, UINT periodMs) {
    if (m_destroyed) return false;
    KillTimer(id);
    const UINT period = std::clamp<UINT>(periodMs, kMinimumTimerMs, UINT(INT_MAX));
    const int qtId = startTimer(int(period));
    if (qtId == 0) return false;
    m_timers[id] = {qtId, period};
    m_timerIds[qtId] = id;
    return true;
}

bool Window::KillTimer(UINT id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return false;
    killTimer(it->second.first);
    m_timerIds.erase(it->second.first);
    m_timers.erase(it);
    return true;
}

UINT Window::TimerPeriod(UINT id) const {
    auto it = m_timers.find(id);
    return it == m_timers.end() ? 0 : it->second.second;
}

bool Window::ShowWindow(int nCmdShow) {
    const bool wasVisible = isVisible();
    switch (nCmdShow) {
        case SW_HIDE:
            hide();
            break;
        case SW_SHOWNA:
        case SW_SHOWNOACTIVATE: {
            const bool quiet = testAttribute(Qt::WA_ShowWithoutActivating);
            // The attribute asks the window manager; where the platform activates
            // anyway, the window that was active gets its activation back.
            QWidget* active = QApplication::activeWindow();
            setAttribute(Qt::WA_ShowWithoutActivating);
            if (nCmdShow == SW_SHOWNOACTIVATE && isMinimized())
                showNormal();
            else
                show();
            setAttribute(Qt::WA_ShowWithoutActivating, quiet);
            if (active && active != window()) active->activateWindow();
            break;
        }
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            showNormal();
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            m_selfMinimising = true;
            showMinimized();
            m_selfMinimising = false;
            break;
        default:
            show();
            break;
    }
    return wasVisible;
}

bool Window::SetWindowPos(int x, int y, int cx, int cy, UINT flags) {
    if (m_destroyed) return false;
    if (!(flags & SWP_NOMOVE)) move(x, y);
    if (!(flags & SWP_NOSIZE)) resize(std::max(cx, 0), std::max(cy, 0));
    if (flags & SWP_HIDEWINDOW) hide();
    if (flags & SWP_SHOWWINDOW) show();
    if (!(flags & SWP_NOZORDER)) raise();
    return true;
}

RECT Window::GetWindowRect() const {
    const QRect g = IsChild() ? QRect(mapToGlobal(QPoint(0, 0)), size()) : geometry();
    return RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

RECT Window::GetClientRect() const {
    return RECT{0, 0, width(), height()};
}

void Window::SetForegroundWindow() {
    raise();
    activateWindow();
}

bool Window::RedrawWindow(const RECT* rect, UINT flags) {
    if (m_destroyed) return false;
    if (flags & RDW_INVALIDATE) {
        const QRect area =
            rect ? QRect(rect->left, rect->top, RectWidth(*rect), RectHeight(*rect)) & this->rect()
                 : this->rect();
        if (!area.isEmpty()) {
            m_invalid += area;
            if (flags & RDW_ERASE) m_erasePending = true;
            // A paint that happens now takes the area with it; a request to Qt's
            // repaint manager as well would compose it a second time.
            // Nor does one held back until the window is seen again.
            const bool paintsNow = (flags & RDW_UPDATENOW) && isVisible() && !m_inPaint;
            if (!paintsNow && m_seen) update(area);
        }
    }
    if (flags & RDW_INTERNALPAINT) {
        m_internalPaint = true;
        // Nothing for the window system to repaint yet: the paint itself decides.
        if (!m_paintQueued) {
            m_paintQueued = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_paintQueued = false;
                    UpdateWindow();
                },
                Qt::QueuedConnection);
        }
    }
    if (flags & RDW_UPDATENOW) UpdateWindow();
    return true;
}

void Window::UpdateWindow() {
    if (!PaintPending() || !isVisible() || !m_seen || m_inPaint) return;
    m_unflushed += DeliverPaint();
    if (m_unflushed.isEmpty()) return;
    if (FlushToScreen(m_unflushed))
        m_unflushed = QRegion();
    else
        repaint(m_unflushed);
}

bool Window::ShowSurfaceNow(const QRect& area) {
    if (!isVisible() || !m_seen || m_inPaint || PaintPending() || !m_unflushed.isEmpty()) return false;
    const QRect inside = area & rect();
    return inside.isEmpty() || FlushToScreen(inside);
}

bool Window::ShowKeptPixelsNow(const QImage& pixels, QPoint at) {
    const QRect area(at, pixels.size());
    if (!isVisible() || !m_seen || m_inPaint || PaintPending() || !m_unflushed.isEmpty()) return false;
    // Only onto a window whose picture lies on the presenter's shared image, so
    // that an expose finds it there once it is brought up to date.
    if (!m_presenter || !m_presenter->fits(this) || !m_presenter->holds(m_surface) || !ScreenTakes(area))
        return false;
    if (!m_presenter->showKept(pixels, at)) return false;
    m_flushedPixels += qint64(area.width()) * area.height();
    ++m_keptPixelsShown;
    return true;
}

bool Window::ScreenTakes(const QRegion& area) const {
    // Straight into the window's backing store: a top-level window with a
    // surface of its own, exposed, and no child widget under the area (a copy
    // of the surface would cover it). Anything else goes through Qt's repaint.
    if (IsChild() || !updatesEnabled() || m_surface.size() != size()) return false;
    const QWindow* window = windowHandle();
    const QBackingStore* store = backingStore();
    if (!window || !window->isExposed() || !store || store->size() != size()) return false;
    for (const QObject* object : children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child && !child->isWindow() && child->isVisible() && area.intersects(child->geometry()))
            return false;
    }
    return true;
}

bool Window::FlushToScreen(const QRegion& area) {
    BringSurfaceUpToDate();
    if (!ScreenTakes(area)) return false;
    QWindow* window = windowHandle();
    QBackingStore* store = backingStore();
    if (PresentDirectly(area)) return true;
    store->beginPaint(area);
    QPaintDevice* device = store->paintDevice();
    if (!device) {
        store->endPaint();
        return false;
    }
    {
        QPainter p(device);
        CopySurface(p, area);
    }
    store->endPaint();
    store->flush(area, window);
    return true;
}

void Window::CopySurface(QPainter& p, const QRegion& area) {
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // One rectangle at a time: under a clip of several rectangles the raster
    // engine turns the copy into span fills shared out to worker threads.
    for (const QRect& r : area) {
        if (m_surface.isNull())
            p.fillRect(r, Qt::transparent);
        else
            p.drawImage(r.topLeft(), m_surface, r);
        m_flushedPixels += qint64(r.width()) * r.height();
    }
}

void Window::UpdateLayeredArea(const QRegion& area) {
    if (m_inPaint) {
        m_layeredArea += area;
        m_layeredAreaSet = true;
        return;
    }
    // Composed outside a paint: on its way to the screen at once.
    const QRegion inside = area & rect();
    if (inside.isEmpty()) return;
    m_unflushed += inside;
    if (m_seen) update(inside);
}

QRegion Window::DeliverPaint() {
    m_inPaint = true;
    const bool erase = m_erasePending;
    const bool internal = m_internalPaint;
    m_updateRegion = m_invalid & rect();
    m_invalid = QRegion();
    m_erasePending = m_internalPaint = false;
    m_layeredArea = QRegion();
    m_layeredAreaSet = false;
    ++m_paintCount;
    if (erase) WindowProc(WM_ERASEBKGND, 0, 0);
    WindowProc(WM_PAINT, 0, 0);
    m_inPaint = false;
    QRegion changed = m_updateRegion;
    if (m_layeredAreaSet)
        changed += m_layeredArea;
    else if (internal)
        changed = rect();
    m_updateRegion = m_layeredArea = QRegion();
    return changed & rect();
}

intptr_t Window::DoModal() {
    m_endRequested = false;
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    if (!m_endRequested && !m_destroyed) {
        if (parentWidget()) setWindowModality(Qt::WindowModal);
        show();
        QEventLoop loop;
        m_modalLoop = &loop;
        loop.exec();
        m_modalLoop = nullptr;
    }
    hide();
    return m_modalResult;
}

bool Window::Create() {
    if (m_initialised || m_destroyed) return false;
    m_initialised = true;
    return OnInitDialog();
}

void Window::EndDialog(intptr_t result) {
    m_modalResult = result;
    m_endRequested = true;
    if (m_modalLoop)
        m_modalLoop->quit();
    else
        hide();
}

void Window::DestroyWindow() {
    if (m_destroyed) return;
    m_destroyed = true;
    m_quietShow = true;
    hide();
    m_quietShow = false;
    WindowProc(WM_DESTROY, 0, 0);
    // Then the child windows, each after its parent, as on Windows.
    for (Window* child : findChildren<Window*>())
        if (child->IsChild() && child->GetParent() == this) child->DestroyWindow();
    for (const auto& [qtId, id] : m_timerIds) killTimer(qtId);
    m_timerIds.clear();
    m_timers.clear();
    m_captured = false;
    if (m_modalLoop) m_modalLoop->quit();
}

bool Window::BeginSystemMove() {
    return windowHandle() && windowHandle()->startSystemMove();
}

LPARAM Window::clientPoint(const QPointF& p) const {
    const QPoint c = pixel(p);
    return MAKELPARAM(c.x(), c.y());
}

WPARAM Window::mouseKeys(Qt::MouseButtons buttons) const {
    return (buttons & Qt::LeftButton) ? MK_LBUTTON : 0;
}

void Window::setVisible(bool visible) {
    const bool change = visible == isHidden() && !m_quietShow && !m_destroyed;
    QWidget::setVisible(visible);
    if (visible) WatchNativeWindow();
    UpdateSeen();
    // After the change, so that a handler that shows or hides again sees it.
    if (change) WindowProc(WM_SHOWWINDOW, visible ? 1 : 0, 0);
}

void Window::WatchNativeWindow() {
    if (IsChild()) return;
    QWindow* handle = windowHandle();
    if (handle && handle != m_watchedHandle) {
        if (m_watchedHandle) m_watchedHandle->removeEventFilter(this);
        handle->installEventFilter(this);
        m_watchedHandle = handle;
        m_exposedOnce = false;
    }
    const WId id = internalWinId();
    if (id && (!m_obscuredWatch || m_obscuredWatch->nativeWindow() != id))
        m_obscuredWatch = std::make_unique<ObscuredWatch>(*this, [this](bool) { UpdateSeen(); });
}

void Window::UpdateSeen() {
    bool seen = isVisible() && !isMinimized() && !m_destroyed;
    if (seen && IsChild()) {
        // A child is seen as far as the top-level window it stands in is.
        const auto* top = qobject_cast<const Window*>(window());
        if (top && top != this) seen = top->Seen();
    } else if (seen) {
        const QWindow* handle = windowHandle();
        const bool exposed = handle && handle->isExposed();
        m_exposedOnce = m_exposedOnce || exposed;
        // Shown but not yet exposed is taken for seen: the first expose is on its way.
        if (m_exposedOnce && !exposed) seen = false;
        if (m_obscuredWatch && m_obscuredWatch->obscured()) seen = false;
    }
    if (seen == m_seen) return;
    m_seen = seen;
    OnSeenChange(seen);
    if (!IsChild())
        for (Window* child : findChildren<Window*>()) child->UpdateSeen();
    if (!m_seen) return;
    UpdateWindow();
    if (!m_unflushed.isEmpty()) update(m_unflushed);
}

bool Window::eventFilter(QObject* watched, QEvent* e) {
    // The handle's own exposed state is set as this event is delivered: look after it.
    if (watched == m_watchedHandle && e->type() == QEvent::Expose && !m_seenCheckQueued) {
        m_seenCheckQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_seenCheckQueued = false;
                UpdateSeen();
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, e);
}

bool Window::event(QEvent* e) {
    const EventHandling handling;
    if (e->type() == PostedMessage::kind()) {
        auto* m = static_cast<PostedMessage*>(e);
        m->delivered();
        if (!m_destroyed) WindowProc(m->message, m->wParam, m->lParam);
        return true;
    }
    // A child is also shown and hidden with its parent, without setVisible.
    if ((e->type() == QEvent::Show || e->type() == QEvent::Hide) && IsChild()) {
        const bool handled = QWidget::event(e);
        UpdateSeen();
        return handled;
    }
    if (e->type() == QEvent::KeyPress && TakesTabKeys()) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(e);
}

void Window::paintEvent(QPaintEvent* e) {
    BringSurfaceUpToDate();
    const QRegion asked = e->region();
    // What the window system asks for on its own (a show, a resize, an expose)
    // is invalid; what we asked for is composed already or about to be.
    const QRegion uncovered = asked - m_unflushed - m_invalid;
    if (!uncovered.isEmpty()) m_invalid += uncovered;
    if (PaintPending() && !m_inPaint) m_unflushed += DeliverPaint();
    QPainter p(this);
    CopySurface(p, asked);
    if (m_presenter) m_presenter->storeUpdated(asked);
    m_unflushed -= asked;
    // Composed in this paint but outside what the window system lets it draw.
    if (!m_unflushed.isEmpty()) update(m_unflushed);
}

void Window::mousePressEvent(QMouseEvent* e) {
    if (m_handMove) {
        if (e->button() != Qt::LeftButton) return;
        m_handMove = false;  // the drag's release went missing: this is a fresh press
    }
    if (e->button() == Qt::LeftButton) {
        const QPoint g = pixel(e->globalPosition());
        // Only a window of its own is dragged by its background.
        if (!IsChild() && WindowProc(WM_NCHITTEST, 0, MAKELPARAM(g.x(), g.y())) == HTCAPTION) {
            // Without a window manager nobody moves the window but us. Like a
            // system move, the drag reaches the window procedure only as WM_MOVE.
            if (!BeginSystemMove()) {
                m_handMove = true;
                m_handMovePress = g;
                m_handMoveOrigin = pos();
            }
            return;
        }
        WindowProc(WM_LBUTTONDOWN, mouseKeys(e->buttons()), clientPoint(e->position()));
    } else if (e->button() == Qt::RightButton) {
        WindowProc(WM_RBUTTONDOWN, mouseKeys(e->buttons()), clientPoint(e->position()));
    }
}

// Skinned windows do not ask for double clicks: the second press is a press.
void Window::mouseDoubleClickEvent(QMouseEvent* e) {
    if (m_doubleClicks && e->button() == Qt::LeftButton && !m_handMove) {
        WindowProc(WM_LBUTTONDBLCLK, mouseKeys(e->buttons()), clientPoint(e->position()));
        return;
    }
    mousePressEvent(e);
}

void Window::mouseReleaseEvent(QMouseEvent* e) {
    if (m_handMove) {
        if (e->button() == Qt::LeftButton) m_handMove = false;
        return;
    }
    if (e->button() == Qt::LeftButton)
        WindowProc(WM_LBUTTONUP, mouseKeys(e->buttons()), clientPoint(e->position()));
    else if (e->button() == Qt::RightButton)
        WindowProc(WM_RBUTTONUP, mouseKeys(e->buttons()), clientPoint(e->position()));
}

void Window::mouseMoveEvent(QMouseEvent* e) {
    if (m_handMove) {
        if (e->buttons() & Qt::LeftButton) {
            move(m_handMoveOrigin + pixel(e->globalPosition()) - m_handMovePress);
            return;
        }
        m_handMove = false;  // released where we could not see it
    }
    WindowProc(WM_MOUSEMOVE, mouseKeys(e->buttons()), clientPoint(e->position()));
}

void Window::leaveEvent(QEvent* e) {
    if (m_captured && !m_destroyed) {
        QPoint p = mapFromGlobal(QCursor::pos());
        if (rect().contains(p)) p = QPoint(-1, -1);  // the window system says it left
        WindowProc(WM_MOUSEMOVE, 0, MAKELPARAM(p.x(), p.y()));
    }
    QWidget::leaveEvent(e);
}

void Window::wheelEvent(QWheelEvent* e) {
    const QPointF g = e->globalPosition();
    const WPARAM delta = WPARAM(uint16_t(int16_t(e->angleDelta().y()))) << 16;
    WindowProc(WM_MOUSEWHEEL, delta, MAKELPARAM(int32_t(g.x()), int32_t(g.y())));
}

void Window::keyPressEvent(QKeyEvent* e) {
    const int vk = virtualKeyFromQtKey(e->key());
    if (vk == 0) return QWidget::keyPressEvent(e);
    m_keyShifted = e->modifiers().testFlag(Qt::ShiftModifier) || e->key() == Qt::Key_Backtab;
    WindowProc(WM_KEYDOWN, WPARAM(vk), e->isAutoRepeat() ? LPARAM(1) | (LPARAM(1) << 30) : LPARAM(1));
    if (IsChild()) e->ignore();  // on to the dialog the child stands in
}

void Window::keyReleaseEvent(QKeyEvent* e) {
    const int vk = virtualKeyFromQtKey(e->key());
    if (vk == 0) return QWidget::keyReleaseEvent(e);
    WindowProc(WM_KEYUP, WPARAM(vk), LPARAM(1) | (LPARAM(3) << 30));
}

void Window::moveEvent(QMoveEvent*) {
    const QRect g = geometry();
    WindowProc(WM_MOVE, 0, MAKELPARAM(g.left(), g.top()));
}

void Window::resizeEvent(QResizeEvent*) {
    WindowProc(WM_SIZE, SIZE_RESTORED, MAKELPARAM(width(), height()));
}

void Window::closeEvent(QCloseEvent* e) {
    // The window decides itself whether a close request ends it.
    e->ignore();
    if (!m_destroyed) WindowProc(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Window::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && !m_destroyed)
        WindowProc(WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
    if (e->type() == QEvent::WindowStateChange && !m_selfMinimising && !m_destroyed) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(e);
        if (isMinimized() && !(change->oldState() & Qt::WindowMinimized))
            WindowProc(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) UpdateSeen();
}

void Window::timerEvent(QTimerEvent* e) {
    auto it = m_timerIds.find(e->timerId());
    if (it == m_timerIds.end()) return QWidget::timerEvent(e);
    WindowProc(WM_TIMER, it->second, 0);
}

}  // namespace platform
