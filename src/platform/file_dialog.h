#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

// The file and folder pickers behind one function, replaceable so tests can answer.
struct FileDialogRequest {
    enum class Kind { Open, Save, Folder };
    Kind kind = Kind::Open;
    std::string title;
    std::string filter;       // MFC form: "BIOS files (*.rom)|*.rom|All files (*.*)|*.*||"
    std::string initialPath;  // file or folder the picker starts at
};

// The chosen path (UTF-8), or nothing when the user cancelled.
using FileDialogHandler = std::function<std::optional<std::string>(const FileDialogRequest&)>;

std::optional<std::string> ChooseFile(const FileDialogRequest& request);

// Replaces the picker; returns the previous one. An empty handler restores the
// QFileDialog picker.
FileDialogHandler setFileDialogHandler(FileDialogHandler handler);

// "Name|*.a;*.b|Other|*.c||" -> "Name (*.a *.b);;Other (*.c)" for QFileDialog.
std::string qtFilterFromMfc(const std::string& mfcFilter);

}  // namespace platform
