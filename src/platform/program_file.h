// The path of a read-only program file (picture, font) given by its relative name.
#pragma once

#include <QString>

#include "platform/process.h"

namespace platform {

// name itself while the working directory is the program's folder.
inline QString programFile(const QString& name) {
    const std::string& dir = programFilesDir();
    if (dir.empty() || name.isEmpty() || name.startsWith(u'/')) return name;
    return QString::fromStdString(dir) + u'/' + name;
}

}  // namespace platform
