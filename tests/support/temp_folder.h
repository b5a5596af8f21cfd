// Temporary files and folders for one test: unique names under $TMPDIR (or
// /tmp), since tests run in parallel processes.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// A new empty file; its path.
std::string temporaryFile(const std::string& stem);

// A new folder, removed with everything in it at destruction (read-only parts too).
class TempFolder {
  public:
    explicit TempFolder(const std::string& stem = "vantrel-test-");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // A file's path in the folder.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

  private:
    std::filesystem::path m_path;
};

}  // namespace testsupport
