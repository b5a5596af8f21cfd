#include "monitor/monitor_dlg.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>

#include "monitor/monitor_log.h"
#include "monitor/sensor_source.h"
#include "settings/settings_reader.h"

namespace {

const std::array<RECT, monitor::kGraphCount> kGraphRects = {{
    {55, 73, 303, 154},
    {55, 213, 303, 294},
    {55, 363, 303, 444},
    {55, 503, 303, 584},
}};

}  // namespace

CMonitorDlg::CMonitorDlg(app::MainWindowServices& mainWindow, monitor::SampleClock clock,
                         monitor::SensorReader reader)
    : CDialogBase(QStringLiteral("ImageRes/monitor_main.png"), mainWindow.PanelOwner()),
      m_clock(clock ? std::move(clock) : monitor::systemClock()),
      m_reader(reader ? std::move(reader) : monitor::SensorReader(monitor::readSensor)) {
    setWindowTitle(QCoreApplication::translate("CMonitorDlg", "Monitor"));
}

CMonitorDlg::~CMonitorDlg() = default;

bool CMonitorDlg::OnInitDialog() {
    m_btnClose.Create(this, IDC_MONITOR_CLOSE, RECT{321, 0, 351, 30}, {},
                      QStringLiteral("ImageRes/lockset_close.png"));
    m_btnClose.SetAccessibleName(QCoreApplication::translate("CMonitorDlg", "Close"));
    for (size_t k = 0; k < m_graph.size(); ++k)
        m_graph[k].Create(this, k == 0 ? IDC_MONITOR_GRAPH : IDC_MONITOR_GRAPHS, kGraphRects[k]);

    const monitor::MonitorSettings settings = monitor::readMonitorSettings(settings::SettingsReader());
    m_nRefreshRate = settings.refreshRate;
    SetLogging(settings.logToFile, QString::fromStdString(settings.logPath));
    m_slot = settings.graphSlots;

    RestartSampling();
    for (size_t k = 0; k < m_graph.size(); ++k) ApplySlot(k, m_slot[k]);

    const RECT r = monitorDockRect(MainWindowRect());
    SetWindowPos(r.left, r.top, RectWidth(r), RectHeight(r), SWP_SHOWWINDOW);
    return true;
}

void CMonitorDlg::ApplySlot(size_t k, const monitor::GraphSlot& slot) {
    m_graph[k].SetCaption(QCoreApplication::translate("CMonitorDlg", slot.caption.c_str()));
    m_graph[k].SetRange(slot.min, slot.max);
}

void CMonitorDlg::RestartSampling() {
    // The graphs' own timers share the sampling timer's ID; this start sets its period.
    KillTimer(m_graph[0].TimerID());
    m_graph[0].SetTimerID(kMonitorSampleTimer);
    SetTimer(kMonitorSampleTimer, UINT(std::clamp<int32_t>(m_nRefreshRate, 0, INT_MAX)));
}

bool CMonitorDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDC_MONITOR_CLOSE:
            ReportClosed();
            break;
        case IDC_MONITOR_GRAPH:
            SampleStep();
            break;
        default:
            break;
    }
    return CDialogBase::OnCommand(wParam, lParam);
}

void CMonitorDlg::SampleStep() {
    // A cooler error's message box runs its own loop, in which the timer keeps
    // ticking: never start a step inside another.
    if (m_bSampling) return;
    m_bSampling = true;
    const monitor::SampleRow row = monitor::takeSample(m_slot, m_clock, m_reader);
    const QString time = QString::fromStdString(row.time.time);
    // Each graph repainting on its own would compose the panel four times over.
    for (size_t k = 0; k < m_graph.size(); ++k)
        if (monitor::isSensorKind(m_slot[k].kind)) m_graph[k].PushSample(row.graphValues[k], time);
    if (RedrawWindow(nullptr, RDW_INTERNALPAINT)) UpdateWindow();
    WriteLogRow(row.time.dateTime, row.values);
    m_bSampling = false;
}

bool CMonitorDlg::WriteLogRow(const std::string& strDateTime, const monitor::SensorValues& values) {
    if (!m_bLogToFile) return false;
    return monitor::appendLogRow(m_logPath, strDateTime, values);
}

void CMonitorDlg::SetRefreshRate(int32_t nRefreshRate) {
    m_nRefreshRate = nRefreshRate;
    RestartSampling();
}

void CMonitorDlg::SetLogging(bool bLogToFile, const QString& strLogPath) {
    m_bLogToFile = bLogToFile;
    m_strLogPath = strLogPath;
    m_logPath = strLogPath.toStdString();
}

void CMonitorDlg::AssignGraphs(const monitor::SensorEntries& sensors) {
    const monitor::GraphSlots graphSlots = monitor::assignSlots(sensors);
    for (size_t k = 0; k < m_graph.size(); ++k) {
        // A graph no quantity reaches keeps what it shows.
        if (!monitor::isSensorKind(graphSlots[k].kind)) continue;
        if (graphSlots[k].kind != m_slot[k].kind) m_graph[k].ClearSamples();
        m_slot[k] = graphSlots[k];
        ApplySlot(k, graphSlots[k]);
    }
    RepaintNow();
}

void CMonitorDlg::Retune(const monitor::MonitorSettings& settings) {
    SetRefreshRate(settings.refreshRate);
    SetLogging(settings.logToFile, QString::fromStdString(settings.logPath));
    AssignGraphs(settings.sensors);
}

void CMonitorDlg::OnMouseMove(UINT nFlags, int x, int y) {
    const auto anyHover = [this] {
        return std::any_of(m_graph.begin(), m_graph.end(),
                           [](const CWaveformDisplay& g) { return g.IsHover(); });
    };
    if (!anyHover()) return;
    // All four graphs span the same columns, so the cursor stands at the same x on each.
    const bool over = x < m_graph[0].Rect().right;
    for (CWaveformDisplay& graph : m_graph) {
        graph.OnMouseMove(nFlags, x, y);
        graph.SetHover(over);
    }
    const bool allLeft = std::all_of(m_graph.begin(), m_graph.end(),
                                     [](const CWaveformDisplay& g) { return g.PointerLeft(); });
    if (allLeft)
        for (CWaveformDisplay& graph : m_graph) graph.SetHover(false);
    // Repaint after the flags settle, so a pointer that left every graph leaves no cursor behind.
    if (over || allLeft) RepaintNow();
}

void CMonitorDlg::RepaintNow() {
    // Without RDW_ERASE: the erase would compose the same picture a second time.
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

RECT CMonitorDlg::MainWindowRect() const {
    const platform::Window* main = GetParent();
    return main ? main->GetWindowRect() : RECT{20, 0, 20, 0};
}

void CMonitorDlg::ReportClosed() {
    if (platform::Window* main = GetParent()) main->PostMessage(WM_COMMAND, ID_PANEL_MONITOR_CLOSED, 0);
}
