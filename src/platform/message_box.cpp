#include "platform/message_box.h"

#include <cstdio>
#include <utility>

namespace platform {
namespace {
MessageBoxHandler& handler() {
    static MessageBoxHandler h;
    return h;
}
std::function<void()>& dismisser() {
    static std::function<void()> d;
    return d;
}
std::function<void(std::function<void()>)>& deferrer() {
    static std::function<void(std::function<void()>)> d;
    return d;
}
}  // namespace

int unchangedAnswer(UINT flags) {
    switch (flags & 0xF) {
        case MB_YESNO:
            return IDNO;
        case MB_OKCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
    }
}

void MessageBoxLater(const std::string& text, const std::string& caption, UINT flags) {
    if (!deferrer()) {
        MessageBox(text, caption, flags);
        return;
    }
    deferrer()([text, caption, flags] { MessageBox(text, caption, flags); });
}

std::function<void(std::function<void()>)> setMessageBoxDeferrer(
    std::function<void(std::function<void()>)> d) {
    return std::exchange(deferrer(), std::move(d));
}

int MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    if (handler()) return handler()(text, caption, flags);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return (flags & 0xF) == MB_YESNO ? IDYES : IDOK;
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler h) {
    return std::exchange(handler(), std::move(h));
}

void dismissMessageBoxes() {
    if (dismisser()) dismisser()();
}

std::function<void()> setMessageBoxDismisser(std::function<void()> d) {
    return std::exchange(dismisser(), std::move(d));
}

}  // namespace platform
