#pragma once

#include <QImage>
#include <QString>
#include <unordered_map>

namespace skin {

// Decoded pictures by path. Every lookup checks the file (one stat): a file
// replaced on disk is decoded again, a missing or unreadable one gives null and
// is forgotten. Pictures are kept premultiplied, ready to draw.
class PictureCache {
  public:
    static PictureCache& instance();

    // Null when the file is missing or not a picture.
    const QImage* get(const QString& path);
    void clear() { m_entries.clear(); }
    // Off: every lookup decodes the file again (the uncached behaviour).
    void setEnabled(bool enabled);
    size_t size() const { return m_entries.size(); }
    size_t decodeCount() const { return m_decodes; }

  private:
    struct Stamp {
        long long seconds = 0;
        long long nanoseconds = 0;
        long long bytes = 0;
        unsigned long long inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        QImage image;
    };
    static bool stampOf(const QString& path, Stamp& stamp);

    std::unordered_map<QString, Entry> m_entries;
    QImage m_uncached;
    bool m_enabled = true;
    size_t m_decodes = 0;
};

}  // namespace skin
