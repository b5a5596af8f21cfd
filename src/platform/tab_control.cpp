#include "platform/tab_control.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace platform {
TabControl::TabControl(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)) {
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(true);
    connect(m_bar, &QTabBar::currentChanged, this, [this] {
        if (!m_selecting) emit selChange();
    });
}

int TabControl::InsertItem(int index, const QString& text) {
    m_selecting = true;
    const int at = m_bar->insertTab(index, text);
    m_selecting = false;
    m_bar->resize(width(), m_bar->sizeHint().height());
    return at;
}

int TabControl::GetItemCount() const {
    return m_bar->count();
}

int TabControl::GetCurSel() const {
    return m_bar->currentIndex();
}

int TabControl::SetCurSel(int index) {
    const int previous = m_bar->currentIndex();
    m_selecting = true;
    m_bar->setCurrentIndex(index);
    m_selecting = false;
    return previous;
}

int TabControl::TabRowWidth() const {
    int width = 0;
    for (int i = 0; i < m_bar->count(); ++i) width += m_bar->tabRect(i).width();
    return width;
}

QRect TabControl::GetItemRect(int index) const {
    return m_bar->tabRect(index).translated(m_bar->pos());
}

QRect TabControl::paneRect() const {
    const int top = m_bar->height() - 1;
    return QRect(0, top, width(), height() - top);
}

void TabControl::resizeEvent(QResizeEvent*) {
    m_bar->setGeometry(0, 0, width(), m_bar->sizeHint().height());
}

void TabControl::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = paneRect();
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_bar->size();
    p.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

}  // namespace platform
