#include "setup/autostart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

#include "platform/atomic_file.h"

namespace setup {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// The string-level escapes every desktop-entry value may carry.
std::string escapeValue(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string unescapeValue(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        switch (s[++i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                out += s[i];
                break;  // "\\" and anything unknown
        }
    }
    return out;
}

// The value of `key` in the [Desktop Entry] group, as it stands in the file.
std::optional<std::string> entryValue(const std::string& entryPath, std::string_view key) {
    std::ifstream in(entryPath);
    if (!in) return std::nullopt;
    bool inEntry = false;
    std::string line;
    while (std::getline(in, line)) {
        const std::string_view l = trimmed(line);
        if (l.empty() || l.front() == '#') continue;
        if (l.front() == '[') {
            inEntry = l == "[Desktop Entry]";
            continue;
        }
        const size_t eq = l.find('=');
        if (!inEntry || eq == std::string_view::npos || trimmed(l.substr(0, eq)) != key) continue;
        return std::string(trimmed(l.substr(eq + 1)));
    }
    return std::nullopt;
}

}  // namespace

std::string autostartEntryPath() {
    const std::string base = platform::xdgConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    return base.empty() ? std::string() : base + "/autostart/vantrel.desktop";
}

std::string desktopExecValue(const std::string& program) {
    std::string arg;
    if (program.find_first_of(kReserved) == std::string::npos) {
        arg = program;
    } else {
        arg = "\"";
        for (char c : program) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') arg += '\\';
            arg += c;
        }
        arg += '"';
    }
    // A lone % would start a field code.
    std::string exec;
    for (char c : arg) {
        exec += c;
        if (c == '%') exec += '%';
    }
    return escapeValue(exec);
}

std::string programOfExecValue(const std::string& value) {
    const std::string exec = unescapeValue(value);
    std::string arg;
    size_t i = 0;
    while (i < exec.size() && (exec[i] == ' ' || exec[i] == '\t')) ++i;
    if (i < exec.size() && exec[i] == '"') {
        for (++i;; ++i) {
            if (i >= exec.size()) return {};  // no closing quote
            if (exec[i] == '"') break;
            if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
            arg += exec[i];
        }
    } else {
        for (; i < exec.size() && exec[i] != ' ' && exec[i] != '\t'; ++i) arg += exec[i];
    }
    std::string program;
    for (size_t k = 0; k < arg.size(); ++k) {
        program += arg[k];
        if (arg[k] == '%' && k + 1 < arg.size() && arg[k + 1] == '%') ++k;
    }
    return program;
}

bool autostartNames(const std::string& entryPath, const std::string& program) {
    if (entryPath.empty() || program.empty()) return false;
    if (entryValue(entryPath, "Hidden") == "true") return false;  // the session treats it as removed
    const std::optional<std::string> exec = entryValue(entryPath, "Exec");
    return exec && programOfExecValue(*exec) == program;
}

bool writeAutostartEntry(const std::string& entryPath, const std::string& program) {
    if (entryPath.empty() || program.empty()) return false;
    std::error_code ec;
    const fs::path folder = fs::path(entryPath).parent_path();
    fs::create_directories(folder, ec);
    if (ec) return false;

    const std::string text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Vantrel\n"
        "Comment=Monitor and tune the graphics card\n"
        "Exec=" +
        desktopExecValue(program) +
        "\n"
        // Once the program is removed, the session skips the entry instead of failing at every login.
        "TryExec=" +
        escapeValue(program) +
        "\n"
        "Icon=vantrel\n"
        "Terminal=false\n";
    return platform::writeFileAtomically(entryPath, text);
}

bool removeAutostartEntry(const std::string& entryPath) {
    if (entryPath.empty()) return true;
    return ::unlink(entryPath.c_str()) == 0 || errno == ENOENT;
}

}  // namespace setup
