#include "skin/super_sliders.h"

#include <algorithm>
#include <cmath>

#include "platform/truncate.h"
#include "skin/dialog_base.h"
#include "skin/picture_cache.h"

namespace {
constexpr QRgb kValueColour = 0xFFFF0000;
constexpr QRgb kTitleColour = 0xFFB4B4B4;
constexpr int kThumbWidth = 9;
constexpr int kThumbHeight = 15;
constexpr int kFillHeight = 9;

RECT offset(const RECT& r, int dx, int dy) {
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}
}  // namespace

void CSuperSliders::Init() {
    m_rcTrack = RECT{13, 15, 254, 24};
    m_rcThumbAt = RECT{13, 11, 22, 26};
    m_rcThumb = offset(m_rcThumbAt, m_rect.left, m_rect.top);
    CreateParts();
}

void CSuperSliders::CreateParts() {
    const int L = m_rect.left, T = m_rect.top, R = m_rect.right;
    m_btnLeft.Create(m_pOwner, this, kLeftArrowId, RECT{L + 3, T + 13, L + 15, T + 25}, {},
                     QStringLiteral("ImageRes/lockset_arrowleft.png"));
    m_btnRight.Create(m_pOwner, this, kRightArrowId, RECT{L + 262, T + 13, L + 274, T + 25}, {},
                      QStringLiteral("ImageRes/lockset_arrowright.png"));
    m_txtValue.SetAlign(skin::AlignCenter);
    m_txtValue.SetFontSize(10);
    m_txtValue.SetColour(kValueColour);
    m_txtValue.Create(m_pOwner, kLabelId, RECT{R - 35, T - 24, R, T - 6},
                      QString::number(platform::truncateToInt(m_fPos)));
    m_txtTitle.SetAlign(skin::AlignNear);
    m_txtTitle.SetFontSize(10);
    m_txtTitle.SetColour(kTitleColour);
    m_txtTitle.Create(m_pOwner, kLabelId, RECT{L - 8, T - 20, L + 200, T - 2}, QStringLiteral("m_scTitle"));
}

int CSuperSliders::FillWidth() const {
    const float range = m_fMax - m_fMin;
    if (!(range > 0.0f)) return 0;  // an empty range draws as if at the minimum
    const int fill = platform::truncateToInt((m_fPos - m_fMin) / range * float(kTrackWidth));
    return std::clamp(fill, 0, kTrackWidth);
}

void CSuperSliders::Draw(QPainter* pDC) {
    const int L = m_rect.left, T = m_rect.top;
    const int fill = FillWidth();
    if (const QImage* bar = skin::PictureCache::instance().get(m_strImage); bar && fill > 0)
        pDC->drawImage(QPoint(L + 13, T + 15), *bar, QRect(0, 0, fill, kFillHeight));
    m_rcThumb = RECT{L + 13 + fill, T + 11, L + 13 + fill + kThumbWidth, T + 26};
    if (const QImage* thumb = skin::PictureCache::instance().get(m_strThumbImage))
        pDC->drawImage(QPoint(m_rcThumb.left, m_rcThumb.top), *thumb, QRect(0, 0, kThumbWidth, kThumbHeight));
}

void CSuperSliders::SetPos(float fPos) {
    if (std::isnan(fPos) || fPos <= m_fMin)
        m_fPos = m_fMin;
    else if (fPos >= m_fMax)
        m_fPos = m_fMax;
    else
        m_fPos = fPos;
    m_txtValue.SetText(QString::number(platform::truncateToInt(m_fPos)));
    if (m_pOwner) {
        m_pOwner->RedrawWindow(&m_txtValue.Rect(), RDW_INTERNALPAINT);
        m_pOwner->UpdateWindow();
    }
}

void CSuperSliders::NotifyValueChanged() {
    PostNotification(NOTIFY_VALUE_CHANGED);
}

float CSuperSliders::ValueAt(int x) const {
    const float range = m_fMax - m_fMin;
    if (!(range > 0.0f)) return m_fMin;
    const float along = float(x - m_rect.left - 13);
    return m_fMin + float(platform::truncateToInt(along / float(kTrackWidth) * range));
}

void CSuperSliders::OnLButtonDown(UINT, int x, int y) {
    if (PtInRect(m_rcThumb, x, y)) {
        m_bDragging = true;
        return;
    }
    const int L = m_rect.left, T = m_rect.top;
    if (!PtInRect(RECT{L + 13, T + 15, L + 263, T + 24}, x, y)) return;
    float v;
    if (platform::truncateToInt(m_fStep) == 1) {
        v = ValueAt(x);
    } else if (x > m_rcThumb.right) {
        v = m_fPos + m_fStep;
    } else if (x < m_rcThumb.left) {
        v = m_fPos - m_fStep;
    } else {
        return;
    }
    SetPos(v);
    NotifyValueChanged();
}

void CSuperSliders::OnMouseMove(UINT, int x, int) {
    if (!m_bDragging) return;
    float v;
    if (platform::truncateToInt(m_fStep) == 1) {
        v = float(platform::truncateToInt(ValueAt(x)));
    } else {
        const float range = m_fMax - m_fMin;
        const float pixelsPerStep = float(kTrackWidth) * m_fStep / range;
        // Empty range or no step: nothing to snap to.
        if (!(range > 0.0f) || !std::isfinite(pixelsPerStep) || pixelsPerStep == 0.0f) return;
        const float along = float(x - m_rect.left - 13);
        v = m_fMin + m_fStep * float(platform::truncateToInt(along / pixelsPerStep));
    }
    if (v != m_fPos) {
        SetPos(v);
        NotifyValueChanged();
    }
}

void CSuperSliders::OnLButtonUp(UINT nFlags, int x, int) {
    if (nFlags == WM_CTRL_LINK) {
        float delta = 0.0f;
        bool known = true;
        switch (x) {
            case 3500:
                delta = -m_fStep;
                break;
            case 3501:
                delta = m_fStep;
                break;
            case 3502:
                delta = 1.0f;
                break;
            case 3503:
                delta = 5.0f;
                break;
            case 3504:
                delta = 10.0f;
                break;
            case 3505:
                delta = -1.0f;
                break;
            case 3506:
                delta = -5.0f;
                break;
            case 3507:
                delta = -10.0f;
                break;
            default:
                known = false;
                break;
        }
        if (known) {
            SetPos(m_fPos + delta);
            NotifyValueChanged();
        }
    }
    m_bDragging = false;
}

void CSuperSliders::Enable(bool bEnable) {
    m_bEnable = bEnable;
    m_btnLeft.Enable(bEnable);
    m_btnRight.Enable(bEnable);
    m_txtValue.Enable(bEnable);
    m_txtTitle.Enable(bEnable);
}

void CSuperSlidersStepping::Init() {
    const int L = m_rect.left, T = m_rect.top;
    m_btnSubFive.Create(m_pOwner, this, 3506, RECT{L + 13, T + 29, L + 32, T + 48}, {},
                        QStringLiteral("ImageRes/lockset_subfive.png"));
    m_btnSubTen.Create(m_pOwner, this, 3507, RECT{L + 38, T + 29, L + 61, T + 48}, {},
                       QStringLiteral("ImageRes/lockset_subten.png"));
    m_btnAddFive.Create(m_pOwner, this, 3503, RECT{L + 243, T + 29, L + 262, T + 48}, {},
                        QStringLiteral("ImageRes/lockset_addfive.png"));
    m_btnAddTen.Create(m_pOwner, this, 3504, RECT{L + 218, T + 29, L + 242, T + 48}, {},
                       QStringLiteral("ImageRes/lockset_addten.png"));
    CSuperSliders::Init();
}

void CSuperSlidersStepping::Enable(bool bEnable) {
    CSuperSliders::Enable(bEnable);
    m_btnSubFive.Enable(bEnable);
    m_btnSubTen.Enable(bEnable);
    m_btnAddTen.Enable(bEnable);
    m_btnAddFive.Enable(bEnable);
}
