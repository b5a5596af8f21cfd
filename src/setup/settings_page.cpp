#include "setup/settings_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "skin/static_ex.h"

namespace setup {

CSettingsPage::CSettingsPage(platform::Window* dialog) : platform::Window(dialog, Placement::Child) {
    setFont(pageFont());
    setFocusPolicy(Qt::NoFocus);
}

LRESULT CSettingsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        if (m_surface.size() != size()) m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_surface.fill(Qt::white);
        QPainter p(&m_surface);
        PaintPage(p);
        return 0;
    }
    if (message == WM_SIZE) ApplyFollowers();
    return platform::Window::WindowProc(message, wParam, lParam);
}

int CSettingsPage::ExtraWidth() const {
    return std::max(0, width() - dialogRect(font(), 0, 0, kTemplateWidth, 0).width());
}

void CSettingsPage::FollowRightMargin(QWidget* control, Follow how) {
    const QRect g = control->geometry();
    m_followers.push_back(Follower{control, how, g.x(), g.width()});
    ApplyFollowers();
}

// From the template places each time, so that any number of resizes lands the same.
void CSettingsPage::ApplyFollowers() {
    const int extra = ExtraWidth();
    for (const Follower& f : m_followers) {
        if (!f.control) continue;
        const QRect g = f.control->geometry();
        if (f.how == Follow::Stretch)
            f.control->setGeometry(f.left, g.y(), f.width + extra, g.height());
        else
            f.control->setGeometry(f.left + extra, g.y(), f.width, g.height());
    }
}

void CSettingsPage::placeControl(QWidget* w, int x, int y, int cx, int cy, Fit fit) {
    place(w, font(), x, y, cx, cy, fit);
}

CStaticEx* CSettingsPage::AddHeading(UINT id, const QString& text, int x, int y, int cx, int cy) {
    auto* heading = AddControl(new CStaticEx(text, this), id, x, y, cx, cy);
    FollowRightMargin(heading, Follow::Stretch);
    return heading;
}

QLabel* CSettingsPage::AddLabel(const QString& text, int x, int y, int cx, int cy) {
    auto* label = new QLabel(text, this);
    placeControl(label, x, y, cx, cy, Fit::Text);
    return label;
}

void CSettingsPage::CentreOn(QWidget* label, const QWidget* control) {
    const QRect g = label->geometry();
    label->move(g.x(), control->geometry().center().y() - g.height() / 2);
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
