// The settings window's "Monitoring" page: the monitor panel's sampling period,
// the log switch and file, which quantities are active (at least four; the first
// four get the panel's graphs) and each quantity's graph range. It stores
// nothing itself: the window's OK commits what Values() answers.
#pragma once

#include <array>

#include "monitor/monitor_settings.h"
#include "setup/settings_page.h"

class QLineEdit;
class QTreeWidget;

namespace platform {
class UpDownEdit;
}

class CMonitoringDlg : public setup::CSettingsPage {
  public:
    enum : UINT {
        IDC_HEADING_MONITORING = 1008,
        IDC_HEADING_HISTORY = 1009,
        IDC_HEADING_GRAPHS = 1010,
        IDC_HEADING_LIMITS = 1011,
        IDC_REFRESH_RATE = 1019,
        IDC_MAX = 1021,
        IDC_MIN = 1022,
        IDC_REFRESH_SPIN = 1028,
        IDC_LOG_TO_FILE = 1030,
        IDC_MAX_SPIN = 1031,
        IDC_MIN_SPIN = 1032,
        IDC_GRAPH_LIST = 1038,
        IDC_LOG_PATH = 1066,
        IDC_BROWSE = 1067,
    };
    static constexpr int kMinActive = 4;
    static constexpr const char* kTooFewText =
        QT_TRANSLATE_NOOP("CMonitoringDlg", "Please select at least four");
    static constexpr const char* kLogFileName = "Vantrel.txt";
    static constexpr const char* kLogFileFilter =
        QT_TRANSLATE_NOOP("CMonitoringDlg", "txt|*.txt|All fils|*.*||");

    explicit CMonitoringDlg(platform::Window* dialog);

    // What the commit stores: the period and path as typed, the log switch, and
    // per quantity its active flag and limits as typed.
    monitor::MonitoringTexts Values() const;

    // The row whose limits the limit edits show and change; -1 before any.
    int EditRow() const { return m_nEditRow; }
    // Per quantity, its active flag and limits as the page holds them now.
    const monitor::SensorTexts& Sensor(size_t k) const { return m_sensors.at(k); }

    // Its child controls, for driving it as a user would (tests).
    platform::UpDownEdit* RefreshRateSpin() const { return m_spinRefreshRate; }
    QCheckBox* LogToFileBox() const { return m_chkLogToFile; }
    QLineEdit* LogPathEdit() const { return m_editLogPath; }
    QPushButton* BrowseButton() const { return m_btnBrowse; }
    QTreeWidget* SensorList() const { return m_list; }
    platform::UpDownEdit* MaxSpin() const { return m_spinMax; }
    platform::UpDownEdit* MinSpin() const { return m_spinMin; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    platform::UpDownEdit* m_spinRefreshRate = nullptr;
    QCheckBox* m_chkLogToFile = nullptr;
    QLineEdit* m_editLogPath = nullptr;
    QPushButton* m_btnBrowse = nullptr;
    QTreeWidget* m_list = nullptr;
    platform::UpDownEdit* m_spinMax = nullptr;
    platform::UpDownEdit* m_spinMin = nullptr;
    std::array<monitor::SensorTexts, monitor::kSensorCount> m_sensors;

    void Load();
    void OnListChange();
    void OnLimitChange(bool bMax);
    void OnBrowse();
    // Shows a row's limits without the edits' own change notices.
    void ShowLimits(int row);
    int SelectionMark() const;

    int m_nEditRow = -1;
    bool m_bTooFewShown = false;
};
