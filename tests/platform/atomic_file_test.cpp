// Files replaced whole, and the configuration folder's rules.
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(AtomicFile, ReplacesTheNameNeverWhatALinkThereNames) {
    const fs::path dir = fs::temp_directory_path() / ("atomic_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path victim = dir / "victim", name = dir / "file";
    std::ofstream(victim) << "kept";
    fs::create_symlink(victim, name);
    ASSERT_TRUE(platform::writeFileAtomically(name.string(), "new", 0600));
    EXPECT_EQ(contents(victim), "kept");
    EXPECT_FALSE(fs::is_symlink(name));
    EXPECT_EQ(contents(name), "new");
    EXPECT_EQ(fs::status(name).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // A name whose folder does not exist: false, and nothing left behind anywhere.
    EXPECT_FALSE(platform::writeFileAtomically((dir / "missing" / "file").string(), "x"));
    EXPECT_FALSE(platform::writeFileAtomically("", "x"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    fs::remove_all(dir);
}

TEST(XdgConfigFolder, OnlyAbsoluteFoldersCount) {
    EXPECT_EQ(platform::xdgConfigFolder("/x/config", "/home/u"), "/x/config");
    EXPECT_EQ(platform::xdgConfigFolder("relative", "/home/u"), "/home/u/.config");
    EXPECT_EQ(platform::xdgConfigFolder(nullptr, "/home/u"), "/home/u/.config");
    EXPECT_EQ(platform::xdgConfigFolder("", "home"), "");
    EXPECT_EQ(platform::xdgConfigFolder(nullptr, nullptr), "");
}

}  // namespace
