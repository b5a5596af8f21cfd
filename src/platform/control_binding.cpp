// Standard Qt controls reporting to their window as Windows child controls do.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>

#include "platform/window.h"

namespace platform {

void Window::postCommand(UINT id, uint16_t code) {
    PostMessage(WM_COMMAND, MAKEWPARAM(LOWORD(id), code), 0);
}

bool Window::BindControl(QWidget* control, UINT id) {
    if (!control) return false;
    m_dlgItems[id] = control;
    auto post = [this, id](uint16_t code) { return [this, id, code] { postCommand(id, code); }; };
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this, post(BN_CLICKED));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        connect(combo, &QComboBox::activated, this, post(CBN_SELCHANGE));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::textChanged, this, post(EN_CHANGE));
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        connect(spin, &QSpinBox::textChanged, this, post(EN_CHANGE));
    } else if (auto* spin = qobject_cast<QDoubleSpinBox*>(control)) {
        connect(spin, &QDoubleSpinBox::textChanged, this, post(EN_CHANGE));
    } else if (auto* text = qobject_cast<QTextEdit*>(control)) {
        connect(text, &QTextEdit::textChanged, this, post(EN_CHANGE));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
        connect(text, &QPlainTextEdit::textChanged, this, post(EN_CHANGE));
    } else if (auto* list = qobject_cast<QAbstractItemView*>(control)) {
        if (!list->model() || !list->selectionModel()) return false;
        connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this, post(LBN_SELCHANGE));
        connect(list->model(), &QAbstractItemModel::dataChanged, this,
                [this, id](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                    if (roles.isEmpty() || roles.contains(Qt::CheckStateRole)) postCommand(id, LBN_SELCHANGE);
                });
    } else {
        return false;
    }
    return true;
}

QWidget* Window::GetDlgItem(UINT id) const {
    auto it = m_dlgItems.find(id);
    return it == m_dlgItems.end() ? nullptr : it->second.data();
}

}  // namespace platform
