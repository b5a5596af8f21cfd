#include "settings/settings_location.h"

#include <utility>

namespace settings {

namespace {
std::string& folder() {
    static std::string value;
    return value;
}
}  // namespace

void setDocumentFolder(std::string value) {
    folder() = std::move(value);
}

const std::string& documentFolder() {
    return folder();
}

std::string documentPath() {
    const std::string& dir = folder();
    if (dir.empty()) return kDocumentName;
    if (dir.back() == '/') return dir + kDocumentName;
    return dir + "/" + kDocumentName;
}

}  // namespace settings
