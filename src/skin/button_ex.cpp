#include "skin/button_ex.h"

#include "skin/dialog_base.h"
#include "skin/draw_state.h"
#include "skin/picture_cache.h"
#include "skin/skin_font.h"

namespace {
constexpr QRgb kButtonText = 0xCCC80000;
constexpr QRgb kCheckText = 0xFFFF6400;

QRectF boxOf(const RECT& r) {
    return QRectF(r.left, r.top, RectWidth(r), RectHeight(r));
}
}  // namespace

int CButtonEx::Frame() const {
    return m_bHover ? 1 : m_bPressed ? 2 : 0;
}

QRgb CButtonEx::TextColour() const {
    return kButtonText;
}

void CButtonEx::Draw(QPainter* pDC) {
    DrawPicture(pDC, m_strImage, Frame());
    skin::drawSkinLine(pDC, boxOf(m_rect), m_strText, kTextPoints, TextColour());
}

uint64_t CButtonEx::DrawState() const {
    const QImage* picture = skin::PictureCache::instance().get(m_strImage);
    return skin::DrawStateKey()
        .add(m_rect)
        .add(Frame())
        .add(uint64_t(picture ? picture->cacheKey() : 0))
        .add(m_strText)
        .add(uint64_t(TextColour()))
        .add(skin::skinFontGeneration())
        .value();
}

int CCheckButtonEx::Frame() const {
    return (m_bHover && !m_bNoHover) ? 1 : m_bCheck ? 2 : 0;
}

QRgb CCheckButtonEx::TextColour() const {
    return kCheckText;
}

void CCheckButtonEx::SettleAgainstGroup() {
    for (const CCheckButtonEx* member : m_group) {
        if (member->m_bCheck) {
            m_bCheck = false;
            return;
        }
    }
    if (!m_group.empty()) m_bCheck = true;
}

void CCheckButtonEx::OnLButtonUp(UINT, int, int) {
    if (!m_bCheck) {
        m_bCheck = true;
        for (CCheckButtonEx* member : m_group) member->SettleAgainstGroup();
        return;
    }
    if (m_group.empty()) {
        m_bCheck = false;  // a check box toggles
        return;
    }
    // A checked radio member only gives way to another checked member.
    for (const CCheckButtonEx* member : m_group) {
        if (member->m_bCheck) {
            m_bCheck = false;
            return;
        }
    }
}

void CCheckButtonEx::SetCheck(bool bCheck) {
    const bool before = m_bCheck;
    SetCheckQuietly(bCheck);
    // A panel always shows the choice it acts on, however the choice was made.
    if (m_bCheck != before && m_pOwner) m_pOwner->RedrawWindow(&m_rect, RDW_INVALIDATE);
}

void CCheckButtonEx::SetCheckQuietly(bool bCheck) {
    if (bCheck) {
        m_bCheck = true;
        for (CCheckButtonEx* member : m_group) member->SetCheck(false);
    } else if (m_group.empty()) {
        m_bCheck = false;
    } else {
        SettleAgainstGroup();
    }
}

void MakeRadioGroup(std::initializer_list<CCheckButtonEx*> members) {
    for (CCheckButtonEx* member : members)
        for (CCheckButtonEx* other : members)
            if (other != member) member->m_group.push_back(other);
}
