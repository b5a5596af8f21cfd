#include "skin/snapshots.h"

#include <QDir>
#include <map>

#include "skin/dialog_base.h"

namespace skin {
namespace {

std::map<QString, SnapshotFactory>& registry() {
    static std::map<QString, SnapshotFactory> factories;
    return factories;
}

bool fail(QString* error, const QString& reason) {
    if (error) *error = reason;
    return false;
}

}  // namespace

void registerSnapshot(const QString& name, SnapshotFactory factory) {
    registry()[name] = std::move(factory);
}

bool renderSnapshots(const QString& dir, QString* error) {
    const QDir folder(dir);
    if (!folder.mkpath(QStringLiteral(".")))
        return fail(error, QStringLiteral("cannot create the folder %1").arg(dir));
    for (const auto& [name, factory] : registry()) {
        std::unique_ptr<CDialogBase> window = factory ? factory() : nullptr;
        if (!window) return fail(error, QStringLiteral("cannot build the window %1").arg(name));
        const QImage& picture = window->Compose();
        const QString path = folder.filePath(name + QStringLiteral(".png"));
        const bool saved = picture.save(path, "PNG");
        window->DestroyWindow();
        if (!saved) return fail(error, QStringLiteral("cannot write %1").arg(path));
    }
    return true;
}

}  // namespace skin
