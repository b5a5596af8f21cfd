#include "settings/settings_document.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "settings/file_access.h"
#include "settings/shipped_document.h"

namespace settings {

namespace {

constexpr const char* kRootName = "Vantrel";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Far beyond any settings document; a bigger file is not ours to parse.
constexpr size_t kMaxDocumentBytes = 16u << 20;
// Elements below the root, sections and keys: a document nested deeper than this
// is not a settings document, and pugixml frees subtrees recursively.
constexpr int kMaxDepth = 16;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

class StringWriter : public pugi::xml_writer {
  public:
    explicit StringWriter(std::string& out) : m_out(out) {}
    void write(const void* data, size_t size) override { m_out.append(static_cast<const char*>(data), size); }

  private:
    std::string& m_out;
};

// Depth of the deepest node, walked without recursion; stops counting past limit.
int depthUpTo(const pugi::xml_node& top, int limit) {
    int depth = 0, deepest = 0;
    pugi::xml_node node = top.first_child();
    if (node) depth = 1;
    while (node) {
        deepest = std::max(deepest, depth);
        if (deepest > limit) return deepest;
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            --depth;
            if (node == top) return deepest;
        }
        if (node) node = node.next_sibling();
    }
    return deepest;
}

}  // namespace

const pugi::xml_document& shippedDocument() {
    static const pugi::xml_document* document = [] {
        auto* parsed = new pugi::xml_document;  // never destroyed: usable during static destruction
        const std::string_view text = shippedDocumentText();
        parsed->load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
        return parsed;
    }();
    return *document;
}

SettingsDocument::SettingsDocument(std::string path) : m_path(resolvedPath(path)) {
    std::string bytes;
    switch (readWholeFile(m_path, kMaxDocumentBytes, bytes)) {
        case ReadStatus::Read:
            if (parse(bytes)) return;
            [[fallthrough]];
        case ReadStatus::TooLarge:
            // Never lose the user's file: it stays beside as ".bad".
            if (moveAside(m_path, ".bad")) {
                useShipped();
                m_origin = Origin::Replaced;
                replaceFileAtomically(m_path, shippedDocumentText());
            } else {
                useShipped();
                m_origin = Origin::Unavailable;
            }
            return;
        case ReadStatus::Missing:
            // When the folder cannot take it now, the tree still serves and a
            // later save tries again.
            useShipped();
            m_origin = Origin::Recreated;
            replaceFileAtomically(m_path, shippedDocumentText());
            return;
        case ReadStatus::NotAFile:
        case ReadStatus::Unreadable:
            useShipped();
            m_origin = Origin::Unavailable;
            return;
    }
}

bool SettingsDocument::parse(std::string_view bytes) {
    m_spaceBefore.clear();
    m_spaceAfter.clear();
    std::string_view text = bytes;
    m_bom = text.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    if (m_bom) text.remove_prefix(kUtf8Bom.size());

    const pugi::xml_parse_result result =
        m_tree.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_auto);
    const pugi::xml_node root = m_tree.document_element();
    if (!result || !root || std::strcmp(root.name(), kRootName) != 0 ||
        depthUpTo(m_tree, kMaxDepth) > kMaxDepth) {
        m_tree.reset();
        return false;
    }
    m_encoding = result.encoding;
    if (m_encoding != pugi::encoding_utf8) {
        // Converted on load, so offsets do not point into the bytes; keep the BOM
        // the file had and let the tree's own layout serve.
        m_bom = bytes.substr(0, 2) == "\xFE\xFF" || bytes.substr(0, 2) == "\xFF\xFE";
        return true;
    }

    // pugixml drops white space outside the root element; remember it here.
    for (pugi::xml_node node = m_tree.first_child(); node; node = node.next_sibling()) {
        const ptrdiff_t offset = node.offset_debug();
        const size_t open = offset < 0 ? std::string_view::npos : text.rfind('<', size_t(offset));
        if (open == std::string_view::npos) {
            m_spaceBefore.clear();
            break;
        }
        size_t start = open;
        while (start > 0 && isSpace(text[start - 1])) --start;
        m_spaceBefore.emplace_back(text.substr(start, open - start));
    }
    size_t end = text.size();
    while (end > 0 && isSpace(text[end - 1])) --end;
    m_spaceAfter = std::string(text.substr(end));
    return true;
}

void SettingsDocument::useShipped() {
    if (parse(shippedDocumentText())) return;
    m_tree.reset();  // unreachable with a sound shipped document; keep a usable root anyway
    m_tree.append_child(kRootName);
}

std::string SettingsDocument::serialize() const {
    std::string out;
    StringWriter writer(out);
    size_t topLevel = 0;
    for (pugi::xml_node node = m_tree.first_child(); node; node = node.next_sibling()) ++topLevel;

    if (m_encoding != pugi::encoding_utf8 || topLevel != m_spaceBefore.size()) {
        const unsigned flags =
            pugi::format_raw | pugi::format_no_declaration | (m_bom ? pugi::format_write_bom : 0);
        m_tree.save(writer, "", flags, m_encoding);
        return out;
    }
    if (m_bom) out += kUtf8Bom;
    size_t i = 0;
    for (pugi::xml_node node = m_tree.first_child(); node; node = node.next_sibling()) {
        out += m_spaceBefore[i++];
        node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    }
    out += m_spaceAfter;
    return out;
}

bool SettingsDocument::save() {
    if (m_origin == Origin::Unavailable) return false;
    return replaceFileAtomically(m_path, serialize());
}

}  // namespace settings
