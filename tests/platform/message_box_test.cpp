#include "platform/message_box.h"

#include <gtest/gtest.h>

TEST(MessageBox, TheInstalledHandlerAnswersAndCanBeRestored) {
    std::string seen;
    auto previous =
        platform::setMessageBoxHandler([&](const std::string& text, const std::string& caption, UINT flags) {
            seen = caption + "|" + text + "|" + std::to_string(flags);
            return IDNO;
        });
    EXPECT_EQ(platform::MessageBox("Sure?", "Question", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(seen, "Question|Sure?|36");
    platform::setMessageBoxHandler(previous);
    EXPECT_EQ(platform::MessageBox("t", "c", MB_YESNO), IDYES);  // no handler: default button
}
