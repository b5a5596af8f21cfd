#include "support/settings_document.h"

#include <stdexcept>

#include "settings/shipped_document.h"

namespace testsupport {

std::string shippedDocumentWith(std::initializer_list<std::pair<std::string, std::string>> edits) {
    std::string text(settings::shippedDocumentText());
    for (const auto& [from, to] : edits) {
        const size_t at = text.find(from);
        if (at == std::string::npos) throw std::invalid_argument("not in the shipped document: " + from);
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace testsupport
