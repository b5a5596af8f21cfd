// What the clock and voltage panels' backgrounds show beneath their controls:
// slider tracks, group captions and separators, placed where those panels put
// their controls. Drawn over the panel's metal.
#pragma once

#include <QPainter>
#include <QString>

void drawClockPanelFace(QPainter& p, const QString& family);
void drawVoltagePanelFace(QPainter& p, const QString& family);
