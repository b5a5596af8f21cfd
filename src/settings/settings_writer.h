#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_reader.h"

namespace settings {

// One writing settings access: load at construction, change nodes, save() once.
// It reads like a SettingsReader and sees its own changes. Elements missing on a
// path and missing attributes are created; every node not written keeps the bytes
// the file held. Changes not saved are dropped with the writer. A path that is not
// "/Vantrel/..." or an invalid name is ignored.
class SettingsWriter : public SettingsReader {
  public:
    SettingsWriter();
    explicit SettingsWriter(std::string filePath);

    // The element's content becomes this one text.
    void setText(std::string_view path, std::string_view text);
    void setInteger(std::string_view path, int32_t value);  // "%d"
    void setFlag(std::string_view path, bool value);        // "1" / "0"

    // Adds the attribute, or replaces the one of that name.
    void setAttribute(std::string_view path, std::string_view name, std::string_view text);
    void setAttribute(std::string_view path, std::string_view name, int32_t value);

    // A declared key, coded by its coding.
    void write(IntegerKey key, int32_t value);
    void write(TextFlagKey key, bool value);
    void write(NumberFlagKey key, bool value);
    void write(TextKey key, std::string_view text);

    // Writes a temporary file beside the document, flushes it and renames it over
    // the document, so the file is always either the old or the new one. False when
    // the document could not be written (read-only file, not a regular file, full
    // disk, ...); the existing file is then left as it was.
    bool save();
};

}  // namespace settings
