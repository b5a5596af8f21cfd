// Message boxes answered and recorded while a test runs.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// Answers every box with OK and records it as "caption|text|flags".
class MessageBoxRecorder {
  public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
    std::vector<std::string> seen;
};

}  // namespace testsupport
