#include "skin/menu_list.h"

#include <QLinearGradient>
#include <algorithm>
#include <utility>

#include "skin/dialog_base.h"
#include "skin/skin_font.h"

namespace {
// White on either highlight: 5:1 and more over the whole gradient; the pressed
// entry is told from the hovered one by its darker highlight.
constexpr QRgb kHighlight = 0xB4B46464;
constexpr QRgb kPressedHighlight = 0xFF5A0000;
constexpr QRgb kHighlightText = 0xFFFFFFFF;
constexpr QRgb kText = 0xBCBCBCBC;
}  // namespace

void CMenuItem::Draw(QPainter* pDC) {
    const QRect box(m_rect.left, m_rect.top, RectWidth(m_rect), RectHeight(m_rect));
    QRgb text = kText;
    if (m_bHover || m_bPressed || highlighted_) {
        pDC->fillRect(box, QColor::fromRgba(m_bHover || !m_bPressed ? kHighlight : kPressedHighlight));
        text = kHighlightText;
    }
    skin::drawSkinLine(pDC, box, m_strText, kTextPoints, text);
}

bool CMenuItem::OnKey(int vk) {
    auto* list = static_cast<CMenuList*>(m_pLinkTarget);
    if (!list) return false;
    const auto& items = list->Entries();
    const auto at = std::find(items.begin(), items.end(), this);
    return list->OnListKey(vk, at == items.end() ? -1 : int(at - items.begin()));
}

CMenuList::~CMenuList() {
    for (CMenuItem* item : m_menuItems) delete item;
}

void CMenuList::Create(const QStringList& items, CDialogBase* pOwner, const RECT& rect, int current) {
    m_items += items;
    m_nCurSel = current >= 0 && current < m_items.size() ? current : 0;
    CControls::Create(pOwner, kListId, rect);
}

void CMenuList::Init() {
    m_rcItems = RECT{m_rect.left + 17, m_rect.top, m_rect.right - 17, m_rect.bottom};
    m_btnHead.Create(m_pOwner, this, kHeadId, m_rect, m_items.value(m_nCurSel),
                     QStringLiteral("ImageRes/gpuinfo_tessaril.png"));
}

void CMenuList::Draw(QPainter* pDC) {
    if (m_bCollapsed || m_menuItems.empty()) return;
    const int headHeight = RectHeight(m_btnHead.Rect());
    const int height = headHeight * std::max<int>(int(m_menuItems.size()), 1);
    const QRect area(m_rcItems.left, m_btnHead.Rect().bottom, RectWidth(m_rcItems), height);
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, QColor::fromRgba(0xFFBC1414));
    gradient.setColorAt(1, QColor::fromRgba(0xFF020202));
    pDC->fillRect(area, gradient);
}

void CMenuList::ShowEntries(int nCmdShow) {
    // Every opening starts without a highlight.
    highlightedRow_ = -1;
    for (CMenuItem* item : m_menuItems) {
        item->SetHighlighted(false);
        item->ShowControl(nCmdShow);
    }
    m_bCollapsed = nCmdShow != SW_SHOW;
}

void CMenuList::Highlight(int row) {
    highlightedRow_ = row;
    // One entry stands out: the pointer's is let go until it enters another.
    for (size_t i = 0; i < m_menuItems.size(); ++i) {
        m_menuItems[i]->SetHighlighted(int(i) == row);
        m_menuItems[i]->SetHover(false);
    }
    RequestRedraw();
}

bool CMenuList::OnListKey(int vk, int from) {
    if (!IsOpen()) return false;
    const int count = int(m_menuItems.size());
    switch (vk) {
        case VK_UP:
        case VK_DOWN: {
            const int step = vk == VK_DOWN ? 1 : -1;
            int row = highlightedRow_;
            for (int i = 0; i < count && row < 0; ++i)
                if (m_menuItems[size_t(i)]->IsHover()) row = i;
            if (row < 0) row = from;
            Highlight(row < 0 ? (step > 0 ? 0 : count - 1) : std::clamp(row + step, 0, count - 1));
            return true;
        }
        case VK_RETURN:
        case VK_SPACE:
            if (highlightedRow_ < 0) return false;  // the focused part's own press
            Choose(size_t(highlightedRow_));
            return true;
        case VK_ESCAPE:
            ShowEntries(SW_HIDE);
            return true;
        default:
            return false;
    }
}

void CMenuList::Choose(size_t row) {
    CMenuItem* chosen = m_menuItems[row];
    const int was = m_nCurSel;
    m_nCurSel = chosen->Index();
    chosen->SetIndex(was);
    chosen->SetText(m_items.value(chosen->Index()));
    m_btnHead.SetText(m_items.value(m_nCurSel));
    ShowEntries(SW_HIDE);
    m_pOwner->PostMessage(WM_COMMAND, MAKEWPARAM(LOWORD(m_nID), NOTIFY_CLICK), 0);
}

void CMenuList::OnLButtonUp(UINT nFlags, int x, int) {
    // Only the parts' link notifications carry meaning; a release on the list itself does nothing.
    if (nFlags != WM_CTRL_LINK) return;
    const int count = int(m_menuItems.size());
    if (x == int(kHeadId)) {
        if (m_menuItems.empty()) {
            const int h = RectHeight(m_btnHead.Rect());
            // Every entry but the one in the head, in list order.
            for (int k = 0, row = 0; k < m_items.size(); ++k) {
                if (k == m_nCurSel) continue;
                auto* item = new CMenuItem;
                item->SetIndex(k);
                const int top = m_btnHead.Rect().bottom + row * h;
                m_menuItems.push_back(item);
                ++row;
                item->Create(m_pOwner, this, kHeadId + row,
                             RECT{m_rcItems.left, top, m_rcItems.right, top + h}, m_items[k]);
            }
        } else {
            ShowEntries(m_bCollapsed ? SW_SHOW : SW_HIDE);
        }
        return;
    }
    if (x > int(kHeadId) && x <= int(kHeadId) + count) Choose(size_t(x - int(kHeadId) - 1));
}
