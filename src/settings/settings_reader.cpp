#include "settings/settings_reader.h"

#include <utility>

#include "platform/wtol.h"
#include "settings/settings_document.h"
#include "settings/settings_location.h"
#include "settings/shipped_document.h"
#include "settings/tree_access.h"
#include "settings/value_coding.h"

namespace settings {

namespace {

// An absent element reads as the shipped one; an element that is there keeps
// its text, even an empty one.
std::string elementValue(const pugi::xml_document& document, std::string_view path) {
    pugi::xml_node element = findElement(document, path);
    if (!element) element = findElement(shippedDocument(), path);
    return elementText(element);
}

pugi::xml_attribute findAttribute(pugi::xml_node element, std::string_view name) {
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute())
        if (name == attribute.name()) return attribute;
    return {};
}

std::string attributeValue(const pugi::xml_document& document, std::string_view path, std::string_view name) {
    pugi::xml_attribute attribute = findAttribute(findElement(document, path), name);
    if (!attribute) attribute = findAttribute(findElement(shippedDocument(), path), name);
    return attribute.value();
}

template <Coding C>
std::string keyText(const SettingsReader& reader, const Key<C>& key) {
    return key.attribute.empty() ? reader.text(key.path) : reader.text(key.path, key.attribute);
}

}  // namespace

SettingsReader::SettingsReader() : SettingsReader(documentPath()) {}

SettingsReader::SettingsReader(std::string filePath)
    : m_document(std::make_unique<SettingsDocument>(std::move(filePath))) {}

SettingsReader::~SettingsReader() = default;
SettingsReader::SettingsReader(SettingsReader&&) noexcept = default;
SettingsReader& SettingsReader::operator=(SettingsReader&&) noexcept = default;

std::string SettingsReader::text(std::string_view path) const {
    return elementValue(m_document->tree(), path);
}

std::string SettingsReader::text(std::string_view path, std::string_view attribute) const {
    return attributeValue(m_document->tree(), path, attribute);
}

int32_t SettingsReader::integer(std::string_view path) const {
    return _wtol(text(path));
}

int32_t SettingsReader::integer(std::string_view path, std::string_view attribute) const {
    return _wtol(text(path, attribute));
}

bool SettingsReader::textFlag(std::string_view path) const {
    return decodeTextFlag(text(path));
}

bool SettingsReader::textFlag(std::string_view path, std::string_view attribute) const {
    return decodeTextFlag(text(path, attribute));
}

bool SettingsReader::numberFlag(std::string_view path) const {
    return decodeNumberFlag(text(path));
}

bool SettingsReader::numberFlag(std::string_view path, std::string_view attribute) const {
    return decodeNumberFlag(text(path, attribute));
}

int32_t SettingsReader::read(IntegerKey key) const {
    return _wtol(keyText(*this, key));
}

bool SettingsReader::read(TextFlagKey key) const {
    return decodeTextFlag(keyText(*this, key));
}

bool SettingsReader::read(NumberFlagKey key) const {
    return decodeNumberFlag(keyText(*this, key));
}

std::string SettingsReader::read(TextKey key) const {
    return keyText(*this, key);
}

}  // namespace settings
