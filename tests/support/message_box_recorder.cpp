#include "support/message_box_recorder.h"

#include "platform/message_box.h"

namespace testsupport {

MessageBoxRecorder::MessageBoxRecorder() {
    platform::setMessageBoxHandler([this](const std::string& text, const std::string& caption, UINT flags) {
        seen.push_back(caption + "|" + text + "|" + std::to_string(flags));
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    platform::setMessageBoxHandler(nullptr);
}

}  // namespace testsupport
