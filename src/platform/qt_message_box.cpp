#include "platform/qt_message_box.h"

#include <QMessageBox>
#include <QString>

#include "platform/message_box.h"

namespace platform {

namespace {
QPointer<QWidget>& currentOwner() {
    static QPointer<QWidget> owner;
    return owner;
}
}  // namespace

MessageBoxOwner::MessageBoxOwner(QWidget* owner) : m_previous(currentOwner()) {
    currentOwner() = owner;
}

MessageBoxOwner::~MessageBoxOwner() {
    currentOwner() = m_previous;
}

QWidget* MessageBoxOwner::current() {
    return currentOwner();
}

void installQtMessageBox() {
    setMessageBoxHandler([](const std::string& text, const std::string& caption, UINT flags) {
        QWidget* owner = MessageBoxOwner::current();
        QMessageBox box(owner ? owner->window() : nullptr);
        box.setText(QString::fromStdString(text));
        box.setWindowTitle(QString::fromStdString(caption));
        switch (flags & 0xF0) {
            case MB_ICONERROR:
                box.setIcon(QMessageBox::Critical);
                break;
            case MB_ICONQUESTION:
                box.setIcon(QMessageBox::Question);
                break;
            case MB_ICONWARNING:
                box.setIcon(QMessageBox::Warning);
                break;
            case MB_ICONINFORMATION:
                box.setIcon(QMessageBox::Information);
                break;
            default:
                break;
        }
        switch (flags & 0xF) {
            case MB_YESNO:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                break;
            case MB_OKCANCEL:
                box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                break;
            default:
                box.setStandardButtons(QMessageBox::Ok);
                break;
        }
        switch (box.exec()) {
            case QMessageBox::Yes:
                return IDYES;
            case QMessageBox::No:
                return IDNO;
            case QMessageBox::Cancel:
                return IDCANCEL;
            default:
                return IDOK;
        }
    });
}

}  // namespace platform
