#pragma once

#include <QFont>
#include <QRectF>
#include <QRgb>
#include <QString>

#include "skin/text_cache.h"

class QPainter;

namespace skin {

// The skin's font file, relative to the working directory.
inline constexpr const char* kSkinFontFile = "font/NEWSGOTL.ttf";

// Makes the family of the font file available; false when the file cannot be
// loaded (the skin then draws with sans-serif). Loading twice loads once.
bool loadSkinFont(const QString& path = QString::fromLatin1(kSkinFontFile));
void unloadSkinFont();
// The family the skin draws with: the loaded file's, else "sans-serif".
QString skinFontFamily();
// Changes whenever the family the skin draws with may have changed.
int skinFontGeneration();
QFont skinFont(double points);

// Horizontal alignment as the controls store it.
enum TextAlign { AlignNear = 0, AlignCenter = 1, AlignFar = 2 };

// Skin text: the skin font at `points`, colour `argb`, vertically centred in
// `box`, horizontally as `align`. Empty text draws nothing.
void drawSkinText(QPainter* painter, const QRectF& box, const QString& text, double points, QRgb argb,
                  int align = AlignCenter);

// Where drawSkinText puts `text` on a window at the skin's resolution, and a key
// of its pixels (see placeText).
TextPlace placeSkinText(const QRectF& box, const QString& text, double points, QRgb argb,
                        int align = AlignCenter);

// A control's text: as drawSkinText, but on one line, and a text wider than
// `box` is cut short with "…" so that it never leaves the control.
void drawSkinLine(QPainter* painter, const QRectF& box, const QString& text, double points, QRgb argb,
                  int align = AlignCenter);
// Whether drawSkinLine shows `text` whole in `width` pixels at the skin's 96 dpi.
bool fitsSkinLine(const QString& text, double points, double width);

}  // namespace skin
