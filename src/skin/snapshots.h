// Pictures of the windows without a screen: each window registers how it
// is built, ready to be composed; rendering builds each one in turn, composes it
// and saves the picture as DIR/NAME.png.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class CDialogBase;

namespace skin {

// Builds the window, initialised and sized; null when it cannot be built.
using SnapshotFactory = std::function<std::unique_ptr<CDialogBase>()>;

// A later registration under the same name replaces the earlier one.
void registerSnapshot(const QString& name, SnapshotFactory factory);

// A window that is not skinned (standard controls) draws its own picture; a null
// image means it cannot be built.
using PictureFactory = std::function<QImage()>;
void registerPictureSnapshot(const QString& name, PictureFactory factory);

// Creates dir (with its parents) and writes one PNG per registered window, in
// name order; each window is destroyed before the next is built. On failure
// answers false with the reason in *error; pictures already written stay.
bool renderSnapshots(const QString& dir, QString* error);

}  // namespace skin
