#include "skin/picture_cache.h"

#include <sys/stat.h>

#include <QFile>

#include "platform/program_file.h"

namespace skin {

PictureCache& PictureCache::instance() {
    static PictureCache cache;
    return cache;
}

bool PictureCache::stampOf(const QString& path, Stamp& stamp) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    stamp = Stamp{st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_size, st.st_ino};
    return true;
}

void PictureCache::setEnabled(bool enabled) {
    m_enabled = enabled;
    m_entries.clear();
}

const QImage* PictureCache::get(const QString& name) {
    if (name.isEmpty()) return nullptr;
    const QString path = platform::programFile(name);
    Stamp stamp;
    if (!stampOf(path, stamp)) {
        m_entries.erase(path);
        return nullptr;
    }
    if (!m_enabled) {
        ++m_decodes;
        m_uncached = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return m_uncached.isNull() ? nullptr : &m_uncached;
    }
    auto it = m_entries.find(path);
    if (it != m_entries.end() && it->second.stamp == stamp) return &it->second.image;

    ++m_decodes;
    QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        m_entries.erase(path);
        return nullptr;
    }
    Entry& entry = m_entries[path];
    entry = Entry{stamp, std::move(image)};
    return &entry.image;
}

}  // namespace skin
