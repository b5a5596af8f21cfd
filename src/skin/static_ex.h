#pragma once

#include <QLabel>

// The caption bar of the ordinary settings pages: white single-line text,
// vertically centred, 5 pixels in from the left, on a solid RGB(192, 0, 0) bar.
class CStaticEx : public QLabel {
  public:
    explicit CStaticEx(const QString& text = {}, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* e) override;
};
