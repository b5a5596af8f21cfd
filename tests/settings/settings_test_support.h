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
#include "support/settings_document.h"
#include "support/temp_folder.h"

// A fresh folder per test (tests run in parallel processes) holding the document.
class SettingsFolder : public ::testing::Test {
  protected:
    std::string path(const std::string& name = "Vantrel.xml") const { return m_temp.file(name); }

    void writeFile(const std::string& bytes, const std::string& name = "Vantrel.xml") const {
        m_temp.write(name, bytes);
    }

    std::string readFile(const std::string& name = "Vantrel.xml") const { return m_temp.read(name); }

    bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }

    // The shipped document with one text replaced: a hand edit.
    static std::string shippedWith(const std::string& from, const std::string& to) {
        return testsupport::shippedDocumentWith({{from, to}});
    }

    static bool runningAsRoot() { return ::geteuid() == 0; }

    testsupport::TempFolder m_temp{"vantrel-settings-"};
    std::string m_folder = m_temp.path().string();
};
