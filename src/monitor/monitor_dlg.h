// The hardware-monitor panel docked beside the main window: four scrolling
// graphs of the quantities chosen in the settings, sampled every m_nRefreshRate
// milliseconds, with a cursor synchronised over all four, and every sample row
// handed to the monitoring log.
#pragma once

#include <QString>
#include <array>
#include <string>

#include "monitor/monitor_settings.h"
#include "monitor/sample_time.h"
#include "monitor/sampler.h"
#include "monitor/waveform_display.h"
#include "services/main_window_services.h"
#include "skin/button_ex.h"
#include "skin/dialog_base.h"

enum : UINT {
    IDC_MONITOR_CLOSE = 3000,
    IDC_MONITOR_GRAPH = 3001,   // graph 0; its timer ticks drive the sampling
    IDC_MONITOR_GRAPHS = 2000,  // graphs 1 to 3
};
constexpr UINT kMonitorSampleTimer = 500;
constexpr int kMonitorWidth = 379;
constexpr int kMonitorHeight = 672;
// Where the panel docks: right of the main window, overlapping its frame.
inline RECT monitorDockRect(const RECT& main) {
    return {main.right - 20, main.top, main.right - 20 + kMonitorWidth, main.top + kMonitorHeight};
}

class CMonitorDlg : public CDialogBase {
  public:
    // It docks beside mainWindow's PanelOwner() and reports its close to it.
    // clock and reader replace the local time and the card in tests.
    explicit CMonitorDlg(app::MainWindowServices& mainWindow,
                         monitor::SampleClock clock = monitor::systemClock(),
                         monitor::SensorReader reader = {});
    ~CMonitorDlg() override;

    // One sampling step: every graph gets its quantity's value, the log a row.
    void SampleStep();
    // Appends a row to the log when logging is on; whether a row was written.
    bool WriteLogRow(const std::string& strDateTime, const monitor::SensorValues& values);

    // Retuning while open (the settings commit). The history stays.
    void SetRefreshRate(int32_t nRefreshRate);
    void SetLogging(bool bLogToFile, const QString& strLogPath);
    // The first four active quantities get the graphs in order: each graph takes
    // its new range and caption; one whose quantity changes starts a new history.
    void AssignGraphs(const monitor::SensorEntries& sensors);
    // All of the above from the settings as read.
    void Retune(const monitor::MonitorSettings& settings);

    int32_t RefreshRate() const { return m_nRefreshRate; }
    bool LogsToFile() const { return m_bLogToFile; }
    const QString& LogPath() const { return m_strLogPath; }
    // Which quantity each graph shows.
    const monitor::GraphSlots& Slots() const { return m_slot; }

    // Its child controls, for driving it as a user would (tests).
    CButtonEx& CloseButton() { return m_btnClose; }
    std::array<CWaveformDisplay, monitor::kGraphCount>& Graphs() { return m_graph; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnMouseMove(UINT nFlags, int x, int y) override;
    // The panel stays docked: it is never dragged by its background.
    LRESULT OnNcHitTest(int, int) override { return HTCLIENT; }

  private:
    CButtonEx m_btnClose;
    std::array<CWaveformDisplay, monitor::kGraphCount> m_graph;
    monitor::GraphSlots m_slot;
    int32_t m_nRefreshRate = 1000;
    bool m_bLogToFile = false;
    QString m_strLogPath;

    void ApplySlot(size_t k, const monitor::GraphSlot& slot);
    void RestartSampling();
    void RepaintNow();
    // The main window, as far as the panel needs it.
    RECT MainWindowRect() const;
    void ReportClosed();

    monitor::SampleClock m_clock;
    monitor::SensorReader m_reader;
    std::string m_logPath;  // m_strLogPath, encoded once for the file system
    bool m_bSampling = false;
};
