// The light plates behind the main window's gauge values and scale labels.
#pragma once

class QPainter;

void drawGaugeScalePlates(QPainter& p);
