#pragma once

#include <string>

namespace settings {

// The settings document's file name. It is resolved against the document folder,
// which is the current directory unless set (the application enters the
// executable's folder at start; tests point it at a folder of their own).
inline constexpr const char* kDocumentName = "Vantrel.xml";

// "" means the current directory (the relative name "Vantrel.xml").
void setDocumentFolder(std::string folder);
const std::string& documentFolder();

// documentFolder() + "/" + kDocumentName, or kDocumentName alone.
std::string documentPath();

}  // namespace settings
