#include "support/temp_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {
namespace {

std::string pattern(const std::string& stem) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + stem + "XXXXXX";
}

}  // namespace

std::string temporaryFile(const std::string& stem) {
    std::string path = pattern(stem);
    const int fd = ::mkstemp(path.data());
    if (fd < 0) throw std::runtime_error("no temporary file: " + path);
    ::close(fd);
    return path;
}

TempFolder::TempFolder(const std::string& stem) {
    std::string path = pattern(stem);
    if (!::mkdtemp(path.data())) throw std::runtime_error("no temporary folder: " + path);
    m_path = path;
}

TempFolder::~TempFolder() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    // A test may have taken the owner's rights away to make saves fail.
    for (auto it = fs::recursive_directory_iterator(m_path, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        if (it->is_directory(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
}

void TempFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
}

std::string TempFolder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testsupport
