#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/message_box.h"

// Texts of the message boxes the skin's controls show (none expected).
std::vector<std::string> g_messageBoxes;

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    platform::setMessageBoxHandler([](const std::string& text, const std::string&, UINT) {
        g_messageBoxes.push_back(text);
        return IDOK;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
