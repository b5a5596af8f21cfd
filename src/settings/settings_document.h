#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The settings document of one access: loaded with recovery at construction,
// saved as a whole. Loading keeps white space and saving writes raw, so nodes
// nobody changed keep the file's bytes (white space between top-level nodes too).
class SettingsDocument {
  public:
    // Where the tree came from.
    enum class Origin {
        File,         // the file as it was
        Recreated,    // the file was missing: the shipped document, written out
        Replaced,     // the file did not parse or had another root: kept aside as
                      // ".bad", the shipped document written in its place
        Unavailable,  // the file cannot be read or replaced: the shipped document,
                      // in memory only; save() fails
    };

    explicit SettingsDocument(std::string path);

    pugi::xml_document& tree() { return m_tree; }
    const pugi::xml_document& tree() const { return m_tree; }
    Origin origin() const { return m_origin; }

    // The whole tree as the file will hold it.
    std::string serialize() const;
    // Atomic replacement of the file; false, file untouched, when it cannot be written.
    bool save();

  private:
    bool parse(std::string_view bytes);
    void useShipped();

    std::string m_path;
    pugi::xml_document m_tree;
    pugi::xml_encoding m_encoding = pugi::encoding_utf8;
    bool m_bom = false;
    std::vector<std::string> m_spaceBefore;  // white space before each top-level node
    std::string m_spaceAfter;                // white space after the last one
    Origin m_origin = Origin::File;
};

// Parse options that keep what the file holds: white space, comments, the
// declaration, and line ends and attribute white space as written.
constexpr unsigned kParseOptions =
    (pugi::parse_full | pugi::parse_ws_pcdata) & ~(pugi::parse_eol | pugi::parse_wconv_attribute);

}  // namespace settings
