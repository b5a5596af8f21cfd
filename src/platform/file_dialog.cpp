#include "platform/file_dialog.h"

#include <QFileDialog>
#include <utility>
#include <vector>

namespace platform {
namespace {

std::optional<std::string> qtPicker(const FileDialogRequest& r) {
    const QString title = QString::fromStdString(r.title);
    const QString start = QString::fromStdString(r.initialPath);
    const QString filter = QString::fromStdString(qtFilterFromMfc(r.filter));
    QString chosen;
    switch (r.kind) {
        case FileDialogRequest::Kind::Open:
            chosen = QFileDialog::getOpenFileName(nullptr, title, start, filter);
            break;
        case FileDialogRequest::Kind::Save:
            chosen = QFileDialog::getSaveFileName(nullptr, title, start, filter);
            break;
        case FileDialogRequest::Kind::Folder:
            chosen = QFileDialog::getExistingDirectory(nullptr, title, start);
            break;
    }
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

FileDialogHandler& handler() {
    static FileDialogHandler h;
    return h;
}

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<std::string> ChooseFile(const FileDialogRequest& request) {
    return handler() ? handler()(request) : qtPicker(request);
}

FileDialogHandler setFileDialogHandler(FileDialogHandler h) {
    return std::exchange(handler(), std::move(h));
}

std::string qtFilterFromMfc(const std::string& mfc) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : mfc) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);

    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string name = trim(parts[i]);
        std::string patterns = trim(parts[i + 1]);
        if (name.empty() && patterns.empty()) break;  // the closing "||"
        // A name that already lists its patterns in parentheses keeps only the name.
        if (const auto open = name.rfind('('); open != std::string::npos && name.back() == ')')
            name = trim(name.substr(0, open));
        for (char& c : patterns)
            if (c == ';') c = ' ';
        if (!out.empty()) out += ";;";
        out += (name.empty() ? patterns : name) + " (" + patterns + ")";
    }
    return out;
}

}  // namespace platform
