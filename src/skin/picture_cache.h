#pragma once

#include <QImage>
#include <QSet>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <unordered_map>

class QFileSystemWatcher;

namespace skin {

// Decoded pictures by path, kept ready to draw (premultiplied). The file system
// tells the cache of changes: a file replaced, rewritten, removed or created is
// checked again at its next lookup, the rest are not looked at on disk. A
// missing or unreadable file gives null. Without an application object (no
// event loop to hear the file system) every lookup checks its file.
class PictureCache {
  public:
    static PictureCache& instance();
    ~PictureCache();

    // Null when the file is missing or not a picture.
    const QImage* get(const QString& path);
    void clear();
    // Off: every lookup decodes the file again (the uncached behaviour).
    void setEnabled(bool enabled);
    // Pictures held.
    size_t size() const;
    size_t decodeCount() const { return m_decodes; }
    // Lookups that went to the file system.
    size_t checkCount() const { return m_checks; }

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
        QImage image;           // null: missing or not a picture
        bool exists = false;    // stamp is that of a file
        bool known = false;     // nothing changed on disk since the last check
        bool watched = false;   // the file system tells of changes
        QString watchedFolder;  // its folder, or the nearest ancestor that exists
    };
    static bool stampOf(const QString& path, Stamp& stamp);
    bool ensureWatcher();
    void check(const QString& path, Entry& entry);
    bool watch(const QString& path, Entry& entry);
    void onFileChanged(const QString& path);
    void onFolderChanged(const QString& folder);
    static void dropWatcher();

    // An entry asked for lately under the very same string, known and watched.
    const Entry* recentEntry(const QString& name);

    std::unordered_map<QString, Entry> m_entries;
    // The last few names asked for: a window asks for the same ones at every paint.
    struct Recent {
        QString name;
        const Entry* entry = nullptr;
    };
    std::array<Recent, 8> m_recent;
    size_t m_nextRecent = 0;
    std::string m_recentFolder;  // the program's folder they were asked for in
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    QSet<QString> m_watchedFiles;
    QSet<QString> m_watchedFolders;
    QImage m_uncached;
    bool m_enabled = true;
    size_t m_decodes = 0;
    size_t m_checks = 0;
};

}  // namespace skin
