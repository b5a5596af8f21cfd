// Each test runs in a fresh working directory, where controls find their pictures.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "skin/picture_cache.h"
#include "support/message_box_recorder.h"

class SkinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_previous = std::filesystem::current_path();
        m_dir = std::filesystem::temp_directory_path() /
                ("skin_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
        std::filesystem::current_path(m_dir);
        skin::PictureCache::instance().clear();
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_dir);
        skin::PictureCache::instance().clear();
    }

    std::filesystem::path m_previous;
    std::filesystem::path m_dir;
    testsupport::MessageBoxRecorder m_messageBoxes;  // the boxes shown since the test started
};
