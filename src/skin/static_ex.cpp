#include "skin/static_ex.h"

#include <QPainter>

CStaticEx::CStaticEx(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void CStaticEx::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(192, 0, 0));
    p.setPen(Qt::white);
    p.setFont(font());
    const QRect inner = rect().adjusted(5, 0, -5, 0);
    p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}
