#include "skin/snapshots.h"

#include <QDir>
#include <map>

#include "skin/dialog_base.h"

namespace skin {
namespace {

std::map<QString, PictureFactory>& registry() {
    static std::map<QString, PictureFactory> factories;
    return factories;
}

bool fail(QString* error, const QString& reason) {
    if (error) *error = reason;
    return false;
}

}  // namespace

void registerSnapshot(const QString& name, SnapshotFactory factory) {
    registry()[name] = [factory = std::move(factory)]() -> QImage {
        std::unique_ptr<CDialogBase> window = factory ? factory() : nullptr;
        if (!window) return {};
        QImage picture = window->Compose();
        window->DestroyWindow();
        return picture;
    };
}

void registerPictureSnapshot(const QString& name, PictureFactory factory) {
    registry()[name] = std::move(factory);
}

bool renderSnapshots(const QString& dir, QString* error) {
    const QDir folder(dir);
    if (!folder.mkpath(QStringLiteral(".")))
        return fail(error, QStringLiteral("cannot create the folder %1").arg(dir));
    for (const auto& [name, factory] : registry()) {
        const QImage picture = factory ? factory() : QImage();
        if (picture.isNull()) return fail(error, QStringLiteral("cannot build the window %1").arg(name));
        const QString path = folder.filePath(name + QStringLiteral(".png"));
        if (!picture.save(path, "PNG")) return fail(error, QStringLiteral("cannot write %1").arg(path));
    }
    return true;
}

}  // namespace skin
