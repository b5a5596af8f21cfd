#include "skin/dialog_base.h"

#include "skin/picture_cache.h"

namespace {
// 96 dots per inch, so point sizes come out as on the platform the skin was drawn for.
constexpr int kDotsPerMeter = 3780;
}  // namespace

CDialogBase::CDialogBase(const QString& background, platform::Window* parent)
    : platform::Window(parent), m_strBackground(background), m_memDC(m_surface) {
    setWindowFlag(Qt::FramelessWindowHint);
    if (parent) setWindowFlag(Qt::Tool);  // owned panels stay off the task bar
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
}

CDialogBase::~CDialogBase() {
    m_controls.clear();
}

LRESULT CDialogBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_PAINT:
            // An erase earlier in the same paint already composed the same picture.
            if (!m_bErasedInPaint) ComposeWith(Path::Paint);
            m_bErasedInPaint = false;
            break;
        case WM_ERASEBKGND:
            ComposeWith(Path::Erase);
            m_bErasedInPaint = InPaint();
            return 1;
        case WM_NCHITTEST:
            return OnNcHitTest(x, y);
        case WM_MOUSEMOVE:
            Forward(message, wParam, lParam);
            OnMouseMove(UINT(wParam), x, y);
            break;
        case WM_LBUTTONDOWN:
            Forward(message, wParam, lParam);
            OnLButtonDown(UINT(wParam), x, y);
            break;
        case WM_LBUTTONUP:
            Forward(message, wParam, lParam);
            OnLButtonUp(UINT(wParam), x, y);
            break;
        case WM_TIMER:
            Forward(message, wParam, lParam);
            break;
        default:
            break;
    }
    return platform::Window::WindowProc(message, wParam, lParam);
}

void CDialogBase::Forward(UINT message, WPARAM wParam, LPARAM lParam) {
    // Controls may add controls while handling a message; those join at the next one.
    const size_t count = m_controls.size();
    for (size_t i = 0; i < count && i < m_controls.size(); ++i)
        m_controls[i]->OnMessage(message, wParam, lParam);
}

const QImage& CDialogBase::Compose() {
    ComposeWith(Path::Paint);
    return m_memDC;
}

void CDialogBase::ComposeWith(Path path) {
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    if (m_memDC.size() != size || m_memDC.format() != QImage::Format_ARGB32_Premultiplied) {
        m_memDC = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_memDC.setDotsPerMeterX(kDotsPerMeter);
        m_memDC.setDotsPerMeterY(kDotsPerMeter);
    }
    const QImage* background = skin::PictureCache::instance().get(m_strBackground);
    // Over a cleared surface a covering background leaves exactly its own pixels:
    // copy them instead of clearing and blending.
    const bool covering =
        background && background->width() >= size.width() && background->height() >= size.height();
    if (!covering) m_memDC.fill(Qt::transparent);
    QPainter painter(&m_memDC);
    if (covering) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, *background);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else if (background) {
        painter.drawImage(0, 0, *background);
    }
    m_painter = &painter;
    const size_t count = m_controls.size();
    for (size_t i = 0; i < count && i < m_controls.size(); ++i) {
        CControls* control = m_controls[i];
        if (path == Path::Paint) {
            control->OnMessage(WM_PAINT, 0, 0);
        } else if (control->IsShown()) {
            painter.save();
            control->Draw(&painter);
            painter.restore();
        }
    }
    m_painter = nullptr;
}

LRESULT CDialogBase::OnNcHitTest(int screenX, int screenY) {
    const QPoint client = mapFromGlobal(QPoint(screenX, screenY));
    for (const CControls* control : m_controls)
        if (PtInRect(control->m_rect, client.x(), client.y())) return HTCLIENT;
    return HTCAPTION;
}

void CDialogBase::OnLButtonDown(UINT, int, int) {
    if (m_bAllowBackgroundDown) {
        m_bBackgroundDown = true;
        SetCapture();
    }
}

void CDialogBase::OnLButtonUp(UINT, int, int) {
    m_bBackgroundDown = false;
    m_bAllowBackgroundDown = true;
    ReleaseCapture();
}
