#include "app/update_description.h"

#include <pugixml.hpp>

#include "platform/wtol.h"
#include "settings/tree_access.h"

namespace app {

std::optional<int32_t> describedVersion(std::string_view bytes) {
    pugi::xml_document document;
    if (!document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default)) return std::nullopt;
    const pugi::xml_node version = settings::findElement(document, "/VantrelUpdate/Version");
    if (!version) return std::nullopt;
    return _wtol(settings::elementText(version));
}

bool offersNewerVersion(std::string_view description, int32_t installedVersion) {
    const std::optional<int32_t> remote = describedVersion(description);
    return remote && *remote > installedVersion;
}

}  // namespace app
