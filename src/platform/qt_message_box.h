#pragma once

#include <QPointer>
#include <QWidget>

namespace platform {

// Installs the QMessageBox-based handler behind platform::MessageBox.
// Needs a QApplication.
void installQtMessageBox();

// While one lives, the message boxes the handler opens belong to this window:
// centred on it and kept above it. Scopes nest.
class MessageBoxOwner {
  public:
    explicit MessageBoxOwner(QWidget* owner);
    ~MessageBoxOwner();
    MessageBoxOwner(const MessageBoxOwner&) = delete;
    MessageBoxOwner& operator=(const MessageBoxOwner&) = delete;

    static QWidget* current();

  private:
    QPointer<QWidget> m_previous;
};

}  // namespace platform
