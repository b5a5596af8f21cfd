// A paint device that rasterises nothing: it notes where the drawing lands and
// folds every drawing operation, with the painter state it was made in, into one
// key. Drawing a control into it tells whether the control's picture changed
// since the last time (the key) and where it lies (the bounds), whatever kind of
// control it is.
#pragma once

#include <QPaintDevice>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <memory>
#include <vector>

class QPaintEngine;

namespace skin {

class PaintRecorder : public QPaintDevice {
  public:
    // A device of `size` pixels at the resolution of `like`, so text is laid out
    // as it would be there.
    PaintRecorder(const QPaintDevice& like, QSize size);
    ~PaintRecorder() override;

    // Starts a new recording: empty bounds, a fresh key.
    void reset();
    // Device pixels the recorded drawing may touch (a little more, never less).
    QRect bounds() const;
    uint64_t key() const;

    // One drawing operation: the pixels it may touch and a key of it with the
    // painter state it was made in.
    struct Part {
        QRect bounds;
        uint64_t key = 0;
        bool operator==(const Part&) const = default;
    };
    // The recording operation by operation; empty for one of more than kMostParts.
    static constexpr size_t kMostParts = 24;
    std::vector<Part> parts() const;

    QPaintEngine* paintEngine() const override;

  protected:
    int metric(PaintDeviceMetric metric) const override;

  private:
    class Engine;
    std::unique_ptr<Engine> m_engine;
    int m_width, m_height, m_dpiX, m_dpiY, m_physicalDpiX, m_physicalDpiY;
};

}  // namespace skin
