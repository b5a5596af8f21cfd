// The real vantrel executable run through the shell, and card descriptions in temporary files.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// Runs the program; returns its exit status and what it wrote on the chosen stream.
inline int runProgram(const std::string& arguments, bool stderrOnly, std::string& output,
                      const std::string& environment = "") {
    std::string command = "env -u VANTREL_DRIVER -u VANTREL_SIM_CARD VANTREL_SIM_FROZEN=1 " + environment +
                          "'" + VANTREL_EXECUTABLE + "' " + arguments +
                          (stderrOnly ? " 2>&1 >/dev/null" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 4096> buffer;
    output.clear();
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) output.append(buffer.data(), n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A card description in a temporary file, removed with the object.
struct CardFile {
    explicit CardFile(const std::string& text) {
        int fd = mkstemp(path);
        if (fd >= 0) close(fd);
        std::ofstream(path) << text;
    }
    ~CardFile() { std::remove(path); }
    char path[40] = "/tmp/vantrel-status-card-XXXXXX";
};

}  // namespace
