#pragma once

class QPainter;

// Drawn over the panel background of monitor_main.png.
void drawMonitorBays(QPainter& p);
