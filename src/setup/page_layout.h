// Laying out the settings window and its pages from their templates' dialog
// units, in the templates' fonts.
#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace setup {

// The pages' "MS Shell Dlg" 8 pt and the settings window's 9 pt: the desktop's
// sans-serif font at those sizes.
QFont pageFont();
QFont windowFont();

// The pixel rectangle of a template rectangle in dialog units of `font`.
QRect dialogRect(const QFont& font, int x, int y, int cx, int cy);

enum class Fit {
    Template,  // exactly the template's rectangle
    Text,      // grown to the control's own size where the font needs more, same centre line
};

// Places `w` at the template rectangle; a height of 0 keeps the control's own
// (a drop-down list's template height includes its open list).
void place(QWidget* w, const QFont& font, int x, int y, int cx, int cy, Fit fit = Fit::Template);

}  // namespace setup
