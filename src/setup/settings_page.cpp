#include "setup/settings_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "skin/static_ex.h"

namespace setup {

namespace {
constexpr uint16_t BN_CLICKED = 0;
}

CSettingsPage::CSettingsPage(platform::Window* dialog) : platform::Window(dialog) {
    setFont(pageFont());
    setFocusPolicy(Qt::NoFocus);
}

void CSettingsPage::PlaceIn(QWidget* area, const QRect& rect) {
    setParent(area, Qt::Widget);
    setGeometry(rect);
    hide();  // explicitly: shown only when its tab is chosen
}

void CSettingsPage::BindControl(QWidget* control, UINT id) {
    m_controls[id] = control;
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        connect(button, &QAbstractButton::clicked, this,
                [this, id] { PostMessage(WM_COMMAND, MAKEWPARAM(uint16_t(id), BN_CLICKED)); });
}

QWidget* CSettingsPage::GetDlgItem(UINT id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.data();
}

LRESULT CSettingsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Escape and Enter are the settings window's.
    if (message == WM_KEYDOWN && (wParam == WPARAM(VK_ESCAPE) || wParam == WPARAM(VK_RETURN))) {
        if (platform::Window* dialog = GetParent()) dialog->SendMessage(message, wParam, lParam);
        return 0;
    }
    if (message == WM_PAINT) {
        if (m_surface.size() != size()) m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_surface.fill(Qt::white);
        QPainter p(&m_surface);
        PaintPage(p);
        return 0;
    }
    return platform::Window::WindowProc(message, wParam, lParam);
}

void CSettingsPage::placeControl(QWidget* w, int x, int y, int cx, int cy, Fit fit) {
    place(w, font(), x, y, cx, cy, fit);
}

CStaticEx* CSettingsPage::AddHeading(UINT id, const QString& text, int x, int y, int cx, int cy) {
    return AddControl(new CStaticEx(text, this), id, x, y, cx, cy);
}

QLabel* CSettingsPage::AddLabel(const QString& text, int x, int y, int cx, int cy) {
    auto* label = new QLabel(text, this);
    placeControl(label, x, y, cx, cy, Fit::Text);
    return label;
}

QCheckBox* CSettingsPage::AddCheckBox(UINT id, const QString& text, int x, int y, int cx, int cy) {
    return AddControl(new QCheckBox(text, this), id, x, y, cx, cy, Fit::Text);
}

QRadioButton* CSettingsPage::AddRadioButton(UINT id, const QString& text, int x, int y, int cx, int cy) {
    return AddControl(new QRadioButton(text, this), id, x, y, cx, cy, Fit::Text);
}

QComboBox* CSettingsPage::AddDropDownList(UINT id, int x, int y, int cx) {
    return AddControl(new QComboBox(this), id, x, y, cx, 0);
}

QPushButton* CSettingsPage::AddPushButton(UINT id, const QString& text, int x, int y, int cx, int cy) {
    auto* button = AddControl(new QPushButton(text, this), id, x, y, cx, cy);
    button->setAutoDefault(false);
    return button;
}

}  // namespace setup
