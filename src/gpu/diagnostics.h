// Where the GPU layer's diagnostic lines go: one stream for the whole layer,
// standard output unless redirected, nothing at all when set to null. The status
// report and the tests redirect it instead of the process's file descriptors.
#pragma once

#include <cstdio>

namespace gpu {

std::FILE* diagnosticStream();
void setDiagnosticStream(std::FILE* stream);

// printf to the diagnostic stream; nothing when it is null.
void diagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Makes what was written so far visible, as a line of a log would be.
void flushDiagnostics();

// The stream set for the scope's lifetime, the previous one restored after.
class DiagnosticRedirect {
  public:
    explicit DiagnosticRedirect(std::FILE* stream) : previous_(diagnosticStream()) {
        setDiagnosticStream(stream);
    }
    ~DiagnosticRedirect() { setDiagnosticStream(previous_); }
    DiagnosticRedirect(const DiagnosticRedirect&) = delete;
    DiagnosticRedirect& operator=(const DiagnosticRedirect&) = delete;

  private:
    std::FILE* previous_;
};

}  // namespace gpu
