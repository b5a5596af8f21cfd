#include "platform/qt_message_box.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <algorithm>
#include <vector>

#include "platform/message_box.h"

namespace platform {

namespace {
QPointer<QWidget>& currentOwner() {
    static QPointer<QWidget> owner;
    return owner;
}

std::vector<QPointer<QMessageBox>>& openBoxes() {
    static std::vector<QPointer<QMessageBox>> boxes;
    return boxes;
}

int answer(int button, UINT flags) {
    switch (button) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Cancel:
            return IDCANCEL;
        case QMessageBox::Ok:
            return IDOK;
        default:
            break;
    }
    return unchangedAnswer(flags);  // closed without a button
}

int showBox(const std::string& text, const std::string& caption, UINT flags) {
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
    // Not modal, owner or not: the program's windows stay usable meanwhile, so the
    // main window, the tray and the quit signals can still end it.
    box.setWindowModality(Qt::NonModal);
    int button = -1;
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, [&](int result) {
        button = result;
        loop.quit();
    });
    openBoxes().emplace_back(&box);
    box.show();
    loop.exec();
    auto& boxes = openBoxes();
    boxes.erase(std::remove(boxes.begin(), boxes.end(), QPointer<QMessageBox>(&box)), boxes.end());
    return answer(button, flags);
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
    setMessageBoxHandler(showBox);
    setMessageBoxDismisser([] {
        for (const QPointer<QMessageBox>& box : std::vector<QPointer<QMessageBox>>(openBoxes()))
            if (box) box->done(-1);
    });
    setMessageBoxDeferrer([](std::function<void()> show) {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, std::move(show), Qt::QueuedConnection);
        else
            show();
    });
}

}  // namespace platform
