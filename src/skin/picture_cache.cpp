#include "skin/picture_cache.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include "platform/program_file.h"

namespace skin {

PictureCache& PictureCache::instance() {
    static PictureCache cache;
    return cache;
}

PictureCache::~PictureCache() = default;

bool PictureCache::stampOf(const QString& path, Stamp& stamp) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    stamp = Stamp{st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_size, st.st_ino};
    return true;
}

void PictureCache::setEnabled(bool enabled) {
    m_enabled = enabled;
    clear();
}

void PictureCache::clear() {
    m_recent = {};
    m_entries.clear();
    if (m_watcher) {
        const QStringList paths = m_watcher->files() + m_watcher->directories();
        if (!paths.isEmpty()) m_watcher->removePaths(paths);
    }
    m_watchedFiles.clear();
    m_watchedFolders.clear();
}

size_t PictureCache::size() const {
    size_t n = 0;
    for (const auto& [path, entry] : m_entries) n += entry.image.isNull() ? 0 : 1;
    return n;
}

void PictureCache::dropWatcher() {
    PictureCache& cache = instance();
    cache.m_watcher.reset();
    cache.m_watchedFiles.clear();
    cache.m_watchedFolders.clear();
    for (auto& [path, entry] : cache.m_entries) entry.watched = false;
}

bool PictureCache::ensureWatcher() {
    if (m_watcher) return true;
    if (!QCoreApplication::instance()) return false;
    m_watcher = std::make_unique<QFileSystemWatcher>();
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::fileChanged,
                     [this](const QString& path) { onFileChanged(path); });
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged,
                     [this](const QString& folder) { onFolderChanged(folder); });
    // The watcher must go before the application does.
    qAddPostRoutine(dropWatcher);
    return true;
}

void PictureCache::onFileChanged(const QString& path) {
    // A file that went away is no longer watched; its next check watches again.
    if (!m_watcher->files().contains(path)) m_watchedFiles.remove(path);
    if (auto it = m_entries.find(path); it != m_entries.end()) it->second.known = false;
}

void PictureCache::onFolderChanged(const QString& folder) {
    if (!m_watcher->directories().contains(folder)) m_watchedFolders.remove(folder);
    for (auto& [path, entry] : m_entries)
        if (entry.watchedFolder == folder) entry.known = false;
}

bool PictureCache::watch(const QString& path, Entry& entry) {
    if (!ensureWatcher()) return false;
    QString folder = QFileInfo(path).absolutePath();
    // A folder that does not exist (yet): its nearest ancestor tells when it comes.
    while (!QFileInfo(folder).isDir()) {
        const QString up = QFileInfo(folder).absolutePath();
        if (up == folder) return false;
        folder = up;
    }
    if (!m_watchedFolders.contains(folder)) {
        if (!m_watcher->addPath(folder)) return false;
        m_watchedFolders.insert(folder);
    }
    entry.watchedFolder = folder;
    if (entry.exists && !m_watchedFiles.contains(path)) {
        if (!m_watcher->addPath(path)) return false;
        m_watchedFiles.insert(path);
    }
    return true;
}

void PictureCache::check(const QString& path, Entry& entry) {
    ++m_checks;
    // Watch first, then look: a change between the two is heard, not missed.
    for (int attempt = 0; attempt < 3; ++attempt) {
        Stamp stamp;
        const bool exists = stampOf(path, stamp);
        if (!exists) {
            entry.image = QImage();
            entry.exists = false;
        } else if (!entry.exists || !(entry.stamp == stamp)) {
            ++m_decodes;
            entry.image = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            entry.stamp = stamp;
            entry.exists = true;
        }
        entry.watched = watch(path, entry);
        if (!entry.watched) break;
        Stamp again;
        if (stampOf(path, again) == exists && (!exists || again == stamp)) break;
    }
    entry.known = true;
}

const QImage* PictureCache::get(const QString& name) {
    if (name.isEmpty()) return nullptr;
    if (const Entry* entry = m_enabled ? recentEntry(name) : nullptr)
        return entry->image.isNull() ? nullptr : &entry->image;
    const QString path = platform::programFile(name);
    if (!m_enabled) {
        Stamp stamp;
        if (!stampOf(path, stamp)) return nullptr;
        ++m_decodes;
        m_uncached = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return m_uncached.isNull() ? nullptr : &m_uncached;
    }
    Entry& entry = m_entries[path];
    if (!entry.known || !entry.watched) check(path, entry);
    m_recent[m_nextRecent] = {name, &entry};
    m_nextRecent = (m_nextRecent + 1) % m_recent.size();
    return entry.image.isNull() ? nullptr : &entry.image;
}

const PictureCache::Entry* PictureCache::recentEntry(const QString& name) {
    // A name stands for another file once the program's folder moved.
    if (platform::programFilesDir() != m_recentFolder) {
        m_recent = {};
        m_recentFolder = platform::programFilesDir();
        return nullptr;
    }
    // The very string asked for before: its characters cannot have changed while
    // this copy shares them, so no path is built and nothing hashed.
    for (const Recent& recent : m_recent)
        if (recent.entry && recent.name.constData() == name.constData() && recent.name.size() == name.size())
            return recent.entry->known && recent.entry->watched ? recent.entry : nullptr;
    return nullptr;
}

}  // namespace skin
