// Catches the GPU layer's diagnostic lines for a test through the layer's own sink, for as
// long as the object lives.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gpu/diagnostics.h"

namespace testsupport {

class DiagnosticCapture {
  public:
    DiagnosticCapture() : stream_(open_memstream(&buffer_, &size_)), redirect_(stream_) {}
    ~DiagnosticCapture() {
        gpu::setDiagnosticStream(nullptr);  // nothing may write to the stream once it is closed
        if (stream_) std::fclose(stream_);
        std::free(buffer_);
    }
    DiagnosticCapture(const DiagnosticCapture&) = delete;
    DiagnosticCapture& operator=(const DiagnosticCapture&) = delete;

    // Everything written since the capture began.
    std::string text() {
        if (!stream_) return {};
        std::fflush(stream_);
        return std::string(buffer_, size_);
    }

  private:
    char* buffer_ = nullptr;
    size_t size_ = 0;
    std::FILE* stream_;
    gpu::DiagnosticRedirect redirect_;
};

}  // namespace testsupport
