#include "skin/composition_memo.h"

#include <algorithm>
#include <cstring>

namespace skin {
namespace {

// An eye's frame is 174 x 148; a gauge with its labels smaller. Graphs, which
// seldom repeat, are larger and not kept.
constexpr qint64 kLargestPixels = 40000;
// All thirteen frames of the main window's eye with room to spare.
constexpr size_t kBudgetBytes = 2u << 20;

}  // namespace

bool CompositionMemo::worthKeeping(const QRect& rect) {
    return !rect.isEmpty() && qint64(rect.width()) * rect.height() <= kLargestPixels;
}

const QImage* CompositionMemo::find(const Key& key) {
    for (Entry& entry : m_entries)
        if (entry.key == key) {
            entry.lastUse = ++m_clock;
            ++m_hits;
            return &entry.pixels;
        }
    return nullptr;
}

void CompositionMemo::keep(Key key, QImage pixels) {
    const size_t bytes = size_t(pixels.sizeInBytes());
    if (bytes > kBudgetBytes) return;
    while (m_bytes + bytes > kBudgetBytes && !m_entries.empty()) {
        const auto oldest =
            std::min_element(m_entries.begin(), m_entries.end(),
                             [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
        m_bytes -= size_t(oldest->pixels.sizeInBytes());
        m_entries.erase(oldest);
    }
    m_bytes += bytes;
    m_entries.push_back(Entry{std::move(key), std::move(pixels), ++m_clock});
}

void CompositionMemo::clear() {
    m_entries.clear();
    m_bytes = 0;
}

bool copyPixels(const QImage& pixels, QImage& surface, QPoint at) {
    if (pixels.format() != surface.format() || pixels.depth() != 32 || pixels.isNull() ||
        !surface.rect().contains(QRect(at, pixels.size())))
        return false;
    const size_t rowBytes = size_t(pixels.width()) * 4;
    // One detach check for the whole copy, not one per row.
    uchar* const into = surface.bits();
    const qsizetype stride = surface.bytesPerLine();
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(into + (at.y() + y) * stride + qsizetype(at.x()) * 4, pixels.constScanLine(y), rowBytes);
    return true;
}

}  // namespace skin
