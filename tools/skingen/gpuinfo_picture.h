// The information panel's background: the GPU list's place at the top, and the
// captions of the ten values on the rows where the panel puts them.
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

// panel draws the skin's metal panel into a rectangle.
QImage gpuInfoBackground(const QString& family, const std::function<void(QPainter&, const QRectF&)>& panel);

// The GPU list's head, three frames (normal, hover, pressed) of w x h: a light
// face, so the list's dark red text reads on it.
QImage gpuListHead(int w, int h);
