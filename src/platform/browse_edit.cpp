#include "platform/browse_edit.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "platform/file_dialog.h"

namespace platform {

BrowseEdit::BrowseEdit(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    m_button->setText(QStringLiteral("..."));
    m_button->setFocusPolicy(Qt::TabFocus);
    connect(m_button, &QToolButton::clicked, this, &BrowseEdit::browse);
    connect(m_edit, &QLineEdit::textEdited, this, &BrowseEdit::textChanged);
}

QString BrowseEdit::text() const {
    return m_edit->text();
}

void BrowseEdit::setText(const QString& text) {
    m_edit->setText(text);
    m_edit->setCursorPosition(0);
}

void BrowseEdit::browse() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Folder;
    request.initialPath = text().toStdString();
    if (const std::optional<std::string> chosen = ChooseFile(request)) {
        setText(QString::fromStdString(*chosen));
        emit textChanged();
    }
}

}  // namespace platform
