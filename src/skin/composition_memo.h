// Composed rectangles of a skinned window kept by what made them: the
// rectangle, the background and the recorded key of every control that reaches
// it. An animation's frames come round again; a rectangle composed before is
// then copied instead of drawn. Small rectangles only, within a byte budget,
// the least recently used going first.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

namespace skin {

class CompositionMemo {
  public:
    using Key = std::vector<uint64_t>;

    // Whether a rectangle of this size is worth keeping at all.
    static bool worthKeeping(const QRect& rect);

    // The pixels kept for `key`, null when none.
    const QImage* find(const Key& key);
    void keep(Key key, QImage pixels);
    void clear();

    size_t hits() const { return m_hits; }
    size_t bytes() const { return m_bytes; }

  private:
    struct Entry {
        Key key;
        QImage pixels;
        uint64_t lastUse = 0;
    };
    std::vector<Entry> m_entries;
    uint64_t m_clock = 0;
    size_t m_bytes = 0;
    size_t m_hits = 0;
};

// Puts `pixels` into `surface` with their top-left at `at`, as a painter in
// source mode would, row by row; false, and nothing copied, unless both have the
// same 32-bit format and `pixels` lies inside `surface`.
bool copyPixels(const QImage& pixels, QImage& surface, QPoint at);

}  // namespace skin
