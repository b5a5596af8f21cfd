#include "app/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cstdio>

namespace app {
namespace {
SingleInstance* g_current = nullptr;
constexpr char kRaise[] = "raise\n";

// ":0.0" and ":0" are the same display; only its number is kept.
std::string displayKey(const char* display) {
    std::string d = display && *display ? display : "none";
    const size_t colon = d.rfind(':');
    if (colon != std::string::npos) {
        const size_t dot = d.find('.', colon);
        if (dot != std::string::npos) d.erase(dot);
    }
    for (char& c : d)
        if (c == '/') c = '_';
    return d;
}

bool askToRaise(const std::string& path) {
    // The first instance may hold the lock a moment before it listens.
    for (int attempt = 0; attempt < 30; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(path));
        if (socket.waitForConnected(500)) {
            socket.write(kRaise);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(100);
    }
    return false;
}
}  // namespace

std::string instanceSocketPath(const char* runtimeDir, const char* display, unsigned uid) {
    const std::string name = "vantrel-" + displayKey(display) + ".socket";
    if (runtimeDir && runtimeDir[0] == '/') return std::string(runtimeDir) + "/" + name;
    return "/tmp/vantrel-" + std::to_string(uid) + "-" + displayKey(display) + ".socket";
}

SingleInstance::SingleInstance(const std::string& socketPath) : m_path(socketPath) {
    const std::string lockPath = socketPath + ".lock";
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // No lock to be had (a foreign file in /tmp): run rather than refuse to start.
        std::fprintf(stderr, "vantrel: cannot open %s; not checking for a running instance\n",
                     lockPath.c_str());
        m_lockFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    } else if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        if (!askToRaise(socketPath))
            std::fprintf(stderr, "vantrel: already running, but it does not answer\n");
        return;
    } else {
        m_lockFd = fd;
        // Whatever socket is there belongs to an instance that has ended.
        QLocalServer::removeServer(QString::fromStdString(socketPath));
        m_server = std::make_unique<QLocalServer>();
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        if (m_server->listen(QString::fromStdString(socketPath)))
            connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::answer);
        else
            std::fprintf(stderr, "vantrel: cannot listen on %s\n", socketPath.c_str());
    }
    g_current = this;
}

SingleInstance::~SingleInstance() {
    if (g_current == this) g_current = nullptr;
    if (m_server) m_server->close();  // removes the socket file
    if (m_lockFd >= 0) ::close(m_lockFd);
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Only whole requests count; anything else is dropped with the connection.
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > 64) socket->abort();
                return;
            }
            const bool raise = socket->readLine(64) == kRaise;
            socket->disconnectFromServer();
            if (raise && m_onRaise) m_onRaise();
        });
    }
}

SingleInstance* currentInstance() {
    return g_current;
}

}  // namespace app
