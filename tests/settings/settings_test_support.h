#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "settings/shipped_document.h"

// A fresh folder per test (tests run in parallel processes) holding the document.
class SettingsFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string path(const std::string& name = "Vantrel.xml") const { return m_folder + "/" + name; }

    void writeFile(const std::string& bytes, const std::string& name = "Vantrel.xml") const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    std::string readFile(const std::string& name = "Vantrel.xml") const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }

    // The shipped document with one text replaced: a hand edit.
    static std::string shippedWith(const std::string& from, const std::string& to) {
        std::string text(settings::shippedDocumentText());
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        return text;
    }

    static bool runningAsRoot() { return ::geteuid() == 0; }

    std::string m_folder;
};
