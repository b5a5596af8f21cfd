// The composed pixels of one animation's box at each of its frames, kept while
// everything else that reaches the box stays as it was when they were composed.
// A frame shown again is then sent on as it is, without composing anything.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

class CControls;

namespace skin {

class KnownFrames {
  public:
    using Context = std::vector<uint64_t>;

    // Follows `animation` in `box` with `count` frames; what was kept for
    // anything else is forgotten.
    void follow(const CControls* animation, const QRect& box, int count);
    bool follows(const CControls* animation, const QRect& box, int count) const {
        return animation && animation == m_animation && box == m_box && size_t(count) == m_frames.size();
    }
    const CControls* animation() const { return m_animation; }
    const QRect& box() const { return m_box; }

    // What reaches the box apart from the frame: every kept frame goes with a change.
    void setContext(Context context);
    // The pixels of `frame`, composed while the animation's state was `state`;
    // null when none are kept for it.
    const QImage* frame(int frame, uint64_t state) const;
    void keep(int frame, uint64_t state, QImage pixels);
    void forget();

  private:
    struct Frame {
        uint64_t state = 0;
        QImage pixels;
    };
    const CControls* m_animation = nullptr;
    QRect m_box;
    Context m_context;
    std::vector<Frame> m_frames;
};

}  // namespace skin
