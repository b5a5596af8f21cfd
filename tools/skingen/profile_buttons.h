// The clock panel's profile row: the buttons that load profile 1, 2 or 3 and
// those that save into them, as three-frame strips (normal, hover, pressed or
// checked). Loading shows the digit on the panel's grey face; saving shows it
// on a red disk whose corner is cut, and "Save" carries a disk mark, so the two
// rows cannot be taken for each other.
#pragma once

#include <QImage>
#include <QString>

QImage profileLoadButton(const QString& family, int w, int h, const QString& digit);
QImage profileSaveButton(const QString& family, int w, int h, const QString& digit);
QImage profileSaveLabel(const QString& family, int w, int h);
