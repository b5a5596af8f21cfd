#include "skin/controls.h"

#include <QCoreApplication>

#include "platform/message_box.h"
#include "skin/dialog_base.h"
#include "skin/draw_state.h"
#include "skin/picture_cache.h"
#include "skin/skin_font.h"

void CControls::Create(CDialogBase* pOwner, UINT nID, const RECT& rect, const QString& text,
                       const QString& image) {
    m_rect = rect;
    m_pOwner = pOwner;
    m_strText = text;
    m_nID = nID;
    m_strImage = image;
    pOwner->AttachControl(this);
    Init();
}

void CControls::Create(CDialogBase* pOwner, CControls* pLinkTarget, UINT nID, const RECT& rect,
                       const QString& text, const QString& image) {
    m_pLinkTarget = pLinkTarget;
    Create(pOwner, nID, rect, text, image);
}

bool CControls::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_nShowCmd != SW_SHOW) return true;
    // Unsigned halves: a captured pointer left of or above the owner is outside every control.
    const int x = LOWORD(uintptr_t(lParam));
    const int y = HIWORD(uintptr_t(lParam));
    switch (message) {
        case WM_PAINT:
            if (QPainter* active = m_pOwner->ActivePainter()) {
                active->save();
                Draw(active);
                active->restore();
            } else {
                m_pOwner->DrawControlNow(*this);
            }
            break;
        case WM_TIMER:
            if (m_bEnable && wParam == m_nTimerID) {
                OnTimer();
                PostNotification(NOTIFY_TIMER_TICK);
            }
            break;
        case WM_MOUSEMOVE: {
            if (!m_bEnable) break;
            const bool inside = Contains(x, y);
            const bool wasInside = Contains(m_ptLast.x, m_ptLast.y);
            m_ptLast = POINT{x, y};
            if (inside && wasInside) {
                OnMouseMove(0, x, y);
            } else if (inside) {
                OnMouseEnter(0, x, y);
                m_bHover = true;
                m_bLeft = false;
                m_pOwner->SetCapture();
                RequestRedraw();
            } else if (wasInside && !m_bPressed) {
                OnMouseLeave(0, x, y);
                m_bHover = false;
                m_bLeft = true;
                m_pOwner->ReleaseCaptureUnlessBackgroundDown();
                RequestRedraw();
            }
            break;
        }
        case WM_LBUTTONDOWN:
            if (!Contains(x, y)) break;
            m_pOwner->ControlTookPress();
            if (!m_bEnable) break;
            m_pOwner->SetCapture();
            OnLButtonDown(0, x, y);
            m_bPressed = true;
            m_bHover = false;
            RequestRedraw();
            break;
        case WM_LBUTTONUP:
            if (!m_bEnable || !m_bPressed) break;
            OnLButtonUp(0, x, y);
            m_pOwner->ReleaseCapture();
            m_bPressed = false;
            m_bHover = false;
            if (Contains(x, y)) {
                PostNotification(NOTIFY_CLICK);
                if (m_pLinkTarget) m_pLinkTarget->OnMessage(WM_CTRL_LINK, LOWORD(m_nID), 0);
            }
            RequestRedraw();
            break;
        case WM_CTRL_LINK:
            if (m_bEnable) OnLButtonUp(WM_CTRL_LINK, LOWORD(wParam), 0);
            break;
        default:
            break;
    }
    return true;
}

void CControls::ShowControl(int nCmdShow) {
    m_nShowCmd = nCmdShow;
    RedrawNow(m_rect);
}

void CControls::RedrawNow(const RECT& rect) {
    m_pOwner->RedrawWindow(&rect, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CControls::RequestRedraw() {
    if (m_pOwner->RedrawWindow(&m_rect, RDW_INTERNALPAINT))
        m_pOwner->UpdateWindow();
    else
        platform::MessageBox(QCoreApplication::translate("CControls", "RedrawWindow fail").toStdString(),
                             QCoreApplication::applicationName().toStdString(), MB_OK);
}

void CControls::PostNotification(uint16_t code) {
    m_pOwner->PostMessage(WM_COMMAND, MAKEWPARAM(LOWORD(m_nID), code), 0);
}

void CControls::DrawPicture(QPainter* pDC, const QString& path, int frame) const {
    const QImage* picture = skin::PictureCache::instance().get(path);
    if (!picture) return;
    const int w = RectWidth(m_rect);
    const int h = RectHeight(m_rect);
    if (w <= 0 || h <= 0) return;
    pDC->drawImage(QPoint(m_rect.left, m_rect.top), *picture, QRect(frame * w, 0, w, h));
}

skin::PaintRecorder::Part CControls::PicturePart(const QImage* picture, int frame) const {
    const int w = RectWidth(m_rect);
    const int h = RectHeight(m_rect);
    if (!picture || w <= 0 || h <= 0) return {};
    // The painter draws only the part of the frame inside the picture.
    const QRect source = QRect(frame * w, 0, w, h) & picture->rect();
    if (source.isEmpty()) return {};
    const QRect pixels = source.translated(m_rect.left - frame * w, m_rect.top);
    return {pixels,
            skin::DrawStateKey().add(QRectF(pixels)).add(uint64_t(picture->cacheKey())).add(frame).value()};
}

QString CControls::CutTextToolTip(double points) const {
    return skin::fitsSkinLine(m_strText, points, RectWidth(m_rect)) ? QString() : m_strText;
}
