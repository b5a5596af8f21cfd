#include "gpu/diagnostics.h"

#include <cstdarg>

namespace gpu {
namespace {

// Null stands for "not set yet": stdout cannot be a constant initialiser.
bool g_set = false;
std::FILE* g_stream = nullptr;

}  // namespace

std::FILE* diagnosticStream() {
    return g_set ? g_stream : stdout;
}

void setDiagnosticStream(std::FILE* stream) {
    g_set = true;
    g_stream = stream;
}

void diagnostic(const char* format, ...) {
    std::FILE* stream = diagnosticStream();
    if (!stream) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stream, format, args);
    va_end(args);
}

void flushDiagnostics() {
    if (std::FILE* stream = diagnosticStream()) std::fflush(stream);
}

}  // namespace gpu
