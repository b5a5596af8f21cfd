#include "platform/process.h"

#include <pwd.h>
#include <spawn.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/atomic_file.h"

extern char** environ;

namespace platform {

std::string executablePath() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return std::string(buffer, size_t(n));
}

std::string executableDir() {
    std::string path = executablePath();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool enterExecutableDir() {
    std::string dir = executableDir();
    return !dir.empty() && chdir(dir.c_str()) == 0;
}

std::string startProcess(const std::string& path, const std::vector<std::string>& arguments,
                         const std::string& workingDir) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    if (argv.empty()) argv.push_back(const_cast<char*>(path.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    if (!workingDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
    // The child starts with the default handling of the signals we catch or block.
    sigset_t none, ours;
    sigemptyset(&none);
    sigemptyset(&ours);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGCHLD}) sigaddset(&ours, s);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &ours);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int error = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? std::string() : std::string(std::strerror(error));
}

namespace {
std::string g_programFilesDir;

// A half-written copy never takes the document's name.
void seedDocument(const std::filesystem::path& shipped, const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = folder / "Vantrel.xml";
    if (fs::exists(target, ec) || !fs::is_regular_file(shipped, ec)) return;
    std::ifstream in(shipped, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return;
    writeFileAtomically(target.string(), bytes);
}
}  // namespace

std::string perUserFolder(const char* xdgConfigHome, const char* home) {
    const std::string config = xdgConfigFolder(xdgConfigHome, home);
    return config.empty() ? std::string() : config + "/vantrel";
}

bool isInstalledFolder(const std::string& programDir) {
    return !programDir.empty() && ::access((programDir + "/" + kInstalledMarker).c_str(), F_OK) == 0;
}

bool enterWorkingDir() {
    return enterWorkingDir(executableDir());
}

bool enterWorkingDir(const std::string& program) {
    g_programFilesDir.clear();
    // A package's files belong to the package manager, whoever runs the program:
    // an installed folder is never written to, even where root could.
    const bool installed = isInstalledFolder(program);
    if (!installed && !program.empty() && access(program.c_str(), W_OK) == 0)
        return chdir(program.c_str()) == 0;

    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        // Services and su without a login environment: the account's own home.
        const passwd* account = getpwuid(getuid());
        if (account && account->pw_dir) home = account->pw_dir;
    }
    const std::string user = perUserFolder(std::getenv("XDG_CONFIG_HOME"), home);
    std::error_code ec;
    if (!user.empty()) std::filesystem::create_directories(user, ec);
    if (user.empty() || ec || chdir(user.c_str()) != 0) {
        // Nowhere to write. A build tree or archive runs from its folder, saving fails as it
        // would there; an installed program does not start.
        if (installed) return false;
        return !program.empty() && chdir(program.c_str()) == 0;
    }
    seedDocument(std::filesystem::path(program) / "Vantrel.xml", user);
    g_programFilesDir = program;
    return true;
}

const std::string& programFilesDir() {
    return g_programFilesDir;
}

}  // namespace platform
