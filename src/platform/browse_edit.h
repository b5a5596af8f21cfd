// An edit box with a browse button in folder mode: the button opens the folder
// picker and the chosen folder replaces the text. The text may also be typed and
// is kept exactly as it stands.
#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

namespace platform {

class BrowseEdit : public QWidget {
    Q_OBJECT
  public:
    explicit BrowseEdit(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* edit() const { return m_edit; }
    QToolButton* button() const { return m_button; }

  signals:
    void textChanged();

  private:
    void browse();

    QLineEdit* m_edit;
    QToolButton* m_button;
};

}  // namespace platform
