#include "platform/up_down_edit.h"

#include <QLineEdit>
#include <algorithm>

namespace platform {

UpDownEdit::UpDownEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(UpDownArrows);
    setCorrectionMode(CorrectToPreviousValue);
    setKeyboardTracking(true);
}

void UpDownEdit::SetRange(int lower, int upper) {
    m_lower = std::min(lower, upper);
    m_upper = std::max(lower, upper);
}

QString UpDownEdit::text() const {
    return lineEdit()->text();
}

void UpDownEdit::setText(const QString& text) {
    lineEdit()->setText(text);
}

void UpDownEdit::stepBy(int steps) {
    bool ok = false;
    const qlonglong shown = lineEdit()->text().toLongLong(&ok);
    const qlonglong from = ok ? shown : m_lower;
    const qlonglong to = std::clamp<qlonglong>(from + qlonglong(steps) * m_step, m_lower, m_upper);
    lineEdit()->setText(QString::number(to));
}

QValidator::State UpDownEdit::validate(QString& input, int&) const {
    const bool digits =
        std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return digits ? QValidator::Acceptable : QValidator::Invalid;
}

}  // namespace platform
