// vantreld: the root service that alone writes to the card on behalf of the program.
//   vantreld [--socket PATH] [--group NAME] [--state-dir FOLDER]
// Without systemd's socket it binds PATH (VANTREL_SERVICE_SOCKET, else /run/vantrel/vantreld.sock).
// FOLDER (default /run/vantrel) keeps the fans held manual across a crash of the service.
// The settings kept for the GPUs live in VANTREL_SERVICE_STATE, else /var/lib/vantrel.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bridge.h"
#include "daemon.h"
#include "kept_file.h"
#include "listen_socket.h"
#include "service_protocol.h"
#include "signals.h"
#include "state_file.h"
#include "trusted_folder.h"

int main(int argc, char** argv) {
    std::string path = vantrel_service::socketPath();
    std::string group = "vantrel";
    std::string stateDir = "/run/vantrel";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--socket" || arg == "--group" || arg == "--state-dir") && i + 1 < argc) {
            (arg == "--socket" ? path : arg == "--group" ? group : stateDir) = argv[++i];
        } else {
            std::fprintf(stderr, "usage: vantreld [--socket PATH] [--group NAME] [--state-dir FOLDER]\n");
            return 2;
        }
    }
    std::setvbuf(stderr, nullptr, _IOLBF, 0);
    const int stopFd = vantreld::stopSignalFd();
    if (stopFd < 0) {
        std::fprintf(stderr, "vantreld: cannot read the stop signals: %s\n", std::strerror(errno));
        return 1;
    }

    std::string error;
    vantreld::TrustedFolder stateFolder = vantreld::TrustedFolder::open(stateDir, true, error);
    if (!stateFolder.isOpen()) {
        std::fprintf(stderr, "vantreld: state folder: %s\n", error.c_str());
        return 1;
    }
    const vantreld::StateFile state(std::move(stateFolder));
    // Without its folder the service still serves writes; it only keeps nothing.
    const char* keptEnv = std::getenv("VANTREL_SERVICE_STATE");
    const std::string keptDir = keptEnv && *keptEnv ? keptEnv : "/var/lib/vantrel";
    vantreld::TrustedFolder keptFolder = vantreld::TrustedFolder::open(keptDir, true, error);
    if (!keptFolder.isOpen())
        std::fprintf(stderr, "vantreld: kept settings folder: %s; no settings are kept\n", error.c_str());
    const vantreld::KeptFile kept(std::move(keptFolder));
    int listenFd = vantreld::activatedSocket();

    // The bridge inside the service writes to NVML itself. Without NVML the service still
    // answers, so that clients are told at once instead of waiting.
    nvml_bridge::Bridge& bridge = nvml_bridge::bridge();
    bridge.service().disable();
    if (bridge.initialize() == nvapi::OK)
        std::fprintf(stderr, "vantreld: serving %zu GPU(s) at %s\n", bridge.devices().size(),
                     listenFd >= 0 ? "the socket systemd passed" : path.c_str());
    else
        std::fprintf(stderr, "vantreld: NVML did not start; every write is answered with an error\n");
    vantreld::CrashHandBack::install();

    // Fans a previous run left manual go back before any client is heard.
    vantreld::Daemon daemon(&state, kept.isOpen() ? &kept : nullptr);
    daemon.handBackLastRun();
    daemon.applyKept();

    // Bound only now, so that a client that can connect is served at once.
    vantreld::ListenSocket own;
    if (listenFd < 0) {
        if (!own.bind(path, group, error)) {
            std::fprintf(stderr, "vantreld: socket: %s\n", error.c_str());
            return 1;
        }
        listenFd = own.fd();
    }

    daemon.run(listenFd, stopFd);

    bridge.unload();
    own.remove();
    std::fprintf(stderr, "vantreld: stopped\n");
    return 0;
}
