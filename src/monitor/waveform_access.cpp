#include "monitor/waveform_display.h"

platform::AccessibleItem CWaveformDisplay::Describe() const {
    platform::AccessibleItem item;
    item.role = platform::AccessibleRole::Graph;
    item.name = m_txtCaption.Text();
    if (!m_values.empty()) {
        item.value = QString::number(m_values.back());
        item.hasRange = true;
        item.current = m_values.back();
        item.minimum = m_nMin;
        item.maximum = m_nMax;
        item.description = m_txtLowest.Text() + QLatin1Char(' ') + m_txtHighest.Text();
    }
    return item;
}
