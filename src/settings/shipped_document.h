#pragma once

#include <string_view>

namespace pugi {
class xml_document;
}

namespace settings {

// The document that ships beside the executable, compiled into the program: the
// source of missing values and of a recreated document.
std::string_view shippedDocumentText();

// shippedDocumentText() parsed once.
const pugi::xml_document& shippedDocument();

}  // namespace settings
