#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The steps of an absolute path "/Vantrel/FanDlg/FanMap"; empty when the path is
// not absolute or a step is not a plain XML name.
std::vector<std::string_view> pathSteps(std::string_view path);

// ASCII letters, digits, '_', '-', '.'; not starting with a digit, '-' or '.'.
bool isPlainXmlName(std::string_view name);

// The first element along the path from the document's root element, or null.
pugi::xml_node findElement(const pugi::xml_document& document, std::string_view path);

// Like findElement, but appends each missing element (indented like its siblings).
// Null when the path is malformed or its first step is not the root's name.
pugi::xml_node makeElement(pugi::xml_document& document, std::string_view path);

// The concatenated text and CDATA content below the element.
std::string elementText(pugi::xml_node element);

// The element's whole content becomes one text (none for an empty text).
void replaceText(pugi::xml_node element, std::string_view text);

}  // namespace settings
