#include "setup/page_layout.h"

#include <QFontDatabase>
#include <QWidget>

#include "platform/dialog_units.h"

namespace setup {
namespace {

QFont sansSerif(int points) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPointSize(points);
    return f;
}

}  // namespace

QFont pageFont() {
    return sansSerif(8);
}

QFont windowFont() {
    return sansSerif(9);
}

QRect dialogRect(const QFont& font, int x, int y, int cx, int cy) {
    return platform::dialogUnitsToPixels(font, x, y, cx, cy);
}

void place(QWidget* w, const QFont& font, int x, int y, int cx, int cy, Fit fit) {
    QRect r = dialogRect(font, x, y, cx, cy);
    const QSize own = w->sizeHint();
    if (cy == 0) r.setHeight(own.height());
    if (fit == Fit::Text) {
        if (own.width() > r.width()) r.setWidth(own.width());
        if (own.height() > r.height()) {
            r.moveTop(r.top() - (own.height() - r.height()) / 2);
            r.setHeight(own.height());
        }
    }
    w->setGeometry(r);
}

}  // namespace setup
