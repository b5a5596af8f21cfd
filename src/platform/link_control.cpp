#include "platform/link_control.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>
#include <utility>

namespace platform {
namespace {

UrlOpener& opener() {
    static UrlOpener o;
    return o;
}

}  // namespace

bool OpenUrl(const std::string& address) {
    if (opener()) return opener()(address);
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address), QUrl::StrictMode));
}

UrlOpener setUrlOpener(UrlOpener o) {
    return std::exchange(opener(), std::move(o));
}

LinkControl::LinkControl(const QString& text, const QString& address, QWidget* parent)
    : QLabel(text, parent), m_address(address) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setTextFormat(Qt::PlainText);
    style();
}

void LinkControl::open() {
    OpenUrl(m_address.toStdString());
    m_visited = true;
    style();
}

void LinkControl::style() {
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, m_visited ? QColor(128, 0, 128) : QColor(0, 102, 204));
    setPalette(p);
}

void LinkControl::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) open();
    QLabel::mouseReleaseEvent(e);
}

void LinkControl::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space) {
        open();
        return;
    }
    QLabel::keyPressEvent(e);
}

}  // namespace platform
