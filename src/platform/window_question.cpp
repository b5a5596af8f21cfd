// A window's own questions, and closes that wait for them.
#include "platform/message_box.h"
#include "platform/window.h"

namespace platform {

int Window::Ask(const std::string& text, const std::string& caption, UINT flags) {
    ++m_questions;
    const int answer = MessageBox(text, caption, flags);
    --m_questions;
    if (m_deferredCloseCommand == 0) return answer;
    if (m_questions == 0) {
        // Posted, not run: the caller still stands in this window's code.
        if (m_deferredCloseTarget) m_deferredCloseTarget->PostMessage(WM_COMMAND, m_deferredCloseCommand);
        m_deferredCloseTarget = nullptr;
        m_deferredCloseCommand = 0;
    }
    return unchangedAnswer(flags);
}

bool Window::DeferClose(Window* target, UINT command) {
    if (m_questions == 0) return false;
    m_deferredCloseTarget = target;
    m_deferredCloseCommand = command;
    return true;
}

}  // namespace platform
