// An edit box with an up-down control attached: the arrows move the number in
// the edit by a step within a range, while the text itself is kept exactly as
// typed (digits only; nothing limits it to the range).
#pragma once

#include <QAbstractSpinBox>

class QLineEdit;

namespace platform {

class UpDownEdit : public QAbstractSpinBox {
  public:
    explicit UpDownEdit(QWidget* parent = nullptr);

    void SetRange(int lower, int upper);
    void SetStep(int step) { m_step = step; }
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }

    // The edit part; bind it to the edit's ID to hear its text changes.
    QLineEdit* edit() const { return lineEdit(); }
    QString text() const;
    void setText(const QString& text);

    // From the number shown (the bottom of the range when there is none), moved
    // by steps and kept within the range.
    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

  protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

  private:
    int m_lower = 0;
    int m_upper = 100;
    int m_step = 1;
};

}  // namespace platform
