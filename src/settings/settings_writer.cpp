#include "settings/settings_writer.h"

#include <utility>

#include "settings/settings_document.h"
#include "settings/settings_location.h"
#include "settings/tree_access.h"
#include "settings/value_coding.h"

namespace settings {

SettingsWriter::SettingsWriter() : SettingsReader(documentPath()) {}

SettingsWriter::SettingsWriter(std::string filePath) : SettingsReader(std::move(filePath)) {}

void SettingsWriter::setText(std::string_view path, std::string_view text) {
    if (pugi::xml_node element = makeElement(m_document->tree(), path)) replaceText(element, text);
}

void SettingsWriter::setInteger(std::string_view path, int32_t value) {
    setText(path, encodeInteger(value));
}

void SettingsWriter::setFlag(std::string_view path, bool value) {
    setText(path, encodeFlag(value));
}

void SettingsWriter::setAttribute(std::string_view path, std::string_view name, std::string_view text) {
    if (!isPlainXmlName(name)) return;
    pugi::xml_node element = makeElement(m_document->tree(), path);
    if (!element) return;
    const std::string key(name);
    pugi::xml_attribute attribute = element.attribute(key.c_str());
    if (!attribute) attribute = element.append_attribute(key.c_str());
    attribute.set_value(std::string(text).c_str());
}

void SettingsWriter::setAttribute(std::string_view path, std::string_view name, int32_t value) {
    setAttribute(path, name, std::string_view(encodeInteger(value)));
}

bool SettingsWriter::save() {
    return m_document->save();
}

namespace {

template <Coding C>
void writeText(SettingsWriter& writer, const Key<C>& key, std::string_view text) {
    if (key.attribute.empty())
        writer.setText(key.path, text);
    else
        writer.setAttribute(key.path, key.attribute, text);
}

}  // namespace

void SettingsWriter::write(IntegerKey key, int32_t value) {
    writeText(*this, key, encodeInteger(value));
}

void SettingsWriter::write(TextFlagKey key, bool value) {
    writeText(*this, key, encodeFlag(value));
}

void SettingsWriter::write(NumberFlagKey key, bool value) {
    writeText(*this, key, encodeFlag(value));
}

void SettingsWriter::write(TextKey key, std::string_view text) {
    writeText(*this, key, text);
}

}  // namespace settings
