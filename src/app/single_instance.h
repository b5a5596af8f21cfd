// One window program per user and display: the first start owns a lock and a
// local socket; a later start asks it to raise its window and leaves.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace app {

// The socket's path: in XDG_RUNTIME_DIR when set, else /tmp named after the user.
std::string instanceSocketPath(const char* runtimeDir, const char* display, unsigned uid);

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // Takes the lock at socketPath + ".lock". When another process holds it,
    // asks that one to raise its window (waiting at most a few seconds).
    explicit SingleInstance(const std::string& socketPath);
    ~SingleInstance() override;

    // True when this process is the one instance and should run its window.
    bool first() const { return m_lockFd >= 0; }
    // Called on the event loop for each later start.
    void setOnRaise(std::function<void()> onRaise) { m_onRaise = std::move(onRaise); }

  private:
    void answer();

    std::string m_path;
    int m_lockFd = -1;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void()> m_onRaise;
};

// The running process's instance (null when none), for the main window to hook.
SingleInstance* currentInstance();

}  // namespace app
