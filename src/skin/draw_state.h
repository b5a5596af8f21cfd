// A key of what a control's drawing depends on, folded from its fields by the
// control itself, so its owner can tell it is unchanged without drawing it.
#pragma once

#include <QRectF>
#include <QString>
#include <bit>
#include <cstdint>

#include "platform/win_window.h"

namespace skin {

class DrawStateKey {
  public:
    DrawStateKey& add(uint64_t v) {
        m_h ^= v + 0x9E3779B97F4A7C15ull + (m_h << 6) + (m_h >> 2);
        m_h ^= m_h >> 31;
        m_h *= 0xBF58476D1CE4E5B9ull;
        return *this;
    }
    DrawStateKey& add(int v) { return add(uint64_t(uint32_t(v))); }
    DrawStateKey& add(double v) { return add(std::bit_cast<uint64_t>(v == 0.0 ? 0.0 : v)); }
    DrawStateKey& add(const RECT& r) { return add(r.left).add(r.top).add(r.right).add(r.bottom); }
    DrawStateKey& add(const QRectF& r) { return add(r.x()).add(r.y()).add(r.width()).add(r.height()); }
    DrawStateKey& add(const QString& s) { return add(uint64_t(qHash(s, 0x5bd1e995))).add(int(s.size())); }
    // Never 0, which stands for "only drawing tells".
    uint64_t value() const { return m_h | 1; }

  private:
    uint64_t m_h = 0x84222325CBF29CE4ull;
};

}  // namespace skin
