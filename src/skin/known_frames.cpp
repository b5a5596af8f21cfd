#include "skin/known_frames.h"

namespace skin {

void KnownFrames::follow(const CControls* animation, const QRect& box, int count) {
    m_animation = animation;
    m_box = box;
    m_context.clear();
    m_frames.assign(size_t(std::max(count, 0)), Frame{});
}

void KnownFrames::setContext(Context context) {
    if (context == m_context) return;
    m_context = std::move(context);
    for (Frame& f : m_frames) f = Frame{};
}

const QImage* KnownFrames::frame(int frame, uint64_t state) const {
    if (frame < 0 || size_t(frame) >= m_frames.size()) return nullptr;
    const Frame& f = m_frames[size_t(frame)];
    return !f.pixels.isNull() && f.state == state ? &f.pixels : nullptr;
}

void KnownFrames::keep(int frame, uint64_t state, QImage pixels) {
    if (frame < 0 || size_t(frame) >= m_frames.size() || pixels.size() != m_box.size()) return;
    m_frames[size_t(frame)] = Frame{state, std::move(pixels)};
}

void KnownFrames::forget() {
    m_animation = nullptr;
    m_box = QRect();
    m_context.clear();
    m_frames.clear();
}

}  // namespace skin
