#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "settings/keys.h"

namespace settings {

class SettingsDocument;

// One reading settings access: the document is loaded once, at construction, and
// every value is read from that tree. Paths are absolute from the root element,
// "/Vantrel/Section/Key"; an attribute is named beside the path of its element.
//
// The document is never missing: a missing file is recreated from the shipped
// document, a file that does not parse (or has another root) is kept as
// "Vantrel.xml.bad" and replaced by the shipped one, and a node that is absent
// reads as the shipped document's value ("" when the shipped document lacks it too).
class SettingsReader {
  public:
    SettingsReader();                               // documentPath()
    explicit SettingsReader(std::string filePath);  // a document elsewhere
    ~SettingsReader();
    SettingsReader(SettingsReader&&) noexcept;
    SettingsReader& operator=(SettingsReader&&) noexcept;

    // The text content, unchanged.
    std::string text(std::string_view path) const;
    std::string text(std::string_view path, std::string_view attribute) const;

    // _wtol of the text: "200ms" is 200, "" or letters are 0.
    int32_t integer(std::string_view path) const;
    int32_t integer(std::string_view path, std::string_view attribute) const;

    // True unless the text is exactly "0" (an empty text is true).
    bool textFlag(std::string_view path) const;
    bool textFlag(std::string_view path, std::string_view attribute) const;

    // True when the integer is not 0 (an empty text is false).
    bool numberFlag(std::string_view path) const;
    bool numberFlag(std::string_view path, std::string_view attribute) const;

    // A declared key, decoded by its coding.
    int32_t read(IntegerKey key) const;
    bool read(TextFlagKey key) const;
    bool read(NumberFlagKey key) const;
    std::string read(TextKey key) const;

  protected:
    std::unique_ptr<SettingsDocument> m_document;
};

}  // namespace settings
