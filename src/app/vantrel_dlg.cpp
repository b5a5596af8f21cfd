#include "app/vantrel_dlg.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <climits>

#include "app/quick_sight.h"
#include "app/update_checker.h"
#include "fan/fan_settings.h"
#include "info/gpu_info_dlg.h"
#include "monitor/monitor_dlg.h"
#include "platform/hot_key.h"
#include "platform/message_box.h"
#include "platform/program_file.h"
#include "platform/screenshot.h"
#include "platform/tray_icon.h"
#include "platform/wtol.h"
#include "settings/settings_writer.h"
#include "skin/skin_font.h"

const char* const kOverclockWarningText = QT_TRANSLATE_NOOP(
    "CVantrelDlg",
    "Any inappropriate adjusting may cause unpredictable damages to your graphics card."
    "Damages caused by customing your graphics card are not covered under any Tessaril product"
    "and may not be covered by your graphics card or system manufacturer's warranty.");
const char* const kOverclockWarningCaption = QT_TRANSLATE_NOOP("CVantrelDlg", "Warning");

namespace {

QIcon applicationIcon() {
    for (const char* name : {"ImageRes/vantrel.png", "vantrel.png"}) {
        const QString path = platform::programFile(QString::fromLatin1(name));
        if (QFile::exists(path)) return QIcon(path);
    }
    return platform::fallbackAppIcon();
}

RECT rectOf(int left, int top, int right, int bottom) {
    return RECT{left, top, right, bottom};
}

// Five 30 x 10 scale labels beside a gauge, from 0 at the bottom to the full range.
std::array<QRectF, 5> scaleRects(int x) {
    std::array<QRectF, 5> r;
    const int ys[5] = {319, 255, 192, 132, 69};
    for (int i = 0; i < 5; ++i) r[size_t(i)] = QRectF(x, ys[i], 30, 10);
    return r;
}

template <typename Panel>
void destroyPanel(std::unique_ptr<Panel>& panel) {
    if (!panel) return;
    panel->DestroyWindow();
    panel.reset();
}

// A panel with a question of its own open is closed once that is answered
// (command comes back then); false while it waits.
template <typename Panel>
bool closePanel(std::unique_ptr<Panel>& panel, platform::Window* owner, UINT command) {
    if (panel && panel->DeferClose(owner, command)) return false;
    destroyPanel(panel);
    return true;
}

}  // namespace

CVantrelDlg::CVantrelDlg(fan::FanIo* fanIo)
    : CDialogBase(QStringLiteral("ImageRes/main.png")),
      m_hIcon(applicationIcon()),
      m_fanIo(fanIo ? *fanIo : m_gpuFanIo),
      m_fanController(m_fanIo) {
    setWindowTitle(QStringLiteral("Vantrel"));
}

CVantrelDlg::~CVantrelDlg() {
    m_hotKey.reset();
    m_tray.reset();
    destroyPanel(m_pGpuInfoDlg);
    destroyPanel(m_pClockSetDlg);
    destroyPanel(m_pMonitorDlg);
}

bool CVantrelDlg::OnInitDialog() {
    setWindowIcon(m_hIcon);

    m_animEye.Create(this, IDC_MAIN_EYE, rectOf(149, 132, 323, 280), {},
                     QStringLiteral("ImageRes/main_eye.png"));
    m_animEye.SetFrameCount(13);
    KillTimer(kEyeTimer);
    SetTimer(kEyeTimer, kEyePeriodMs);

    CreateControls();
    m_chkClockLock.Enable(false);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(kMainWidth, kMainHeight);
    SetWindowPos(size.width() / 2 - 237, size.height() / 2 - 220, kMainWidth, kMainHeight, SWP_SHOWWINDOW);

    skin::loadSkinFont();
    ReadSettings(true);
    UpdateQuickSight(false);
    return true;
}

void CVantrelDlg::CreateControls() {
    m_btnClose.Create(this, IDC_MAIN_CLOSE, rectOf(420, 2, 450, 32), {},
                      QStringLiteral("ImageRes/main_close.png"));
    m_btnMin.Create(this, IDC_MAIN_MIN, rectOf(390, 2, 420, 32), {}, QStringLiteral("ImageRes/main_min.png"));
    m_btnSet.Create(this, IDC_MAIN_SET, rectOf(360, 2, 390, 32), {}, QStringLiteral("ImageRes/main_set.png"));
    m_chkClockLock.Create(this, IDC_MAIN_CLOCKLOCK, rectOf(33, 357, 227, 385), {},
                          QStringLiteral("ImageRes/main_clock.png"));
    m_btnGpuInfo.Create(this, IDC_MAIN_GPUINFO, rectOf(249, 357, 443, 385), {},
                        QStringLiteral("ImageRes/main_gpu.png"));
    m_btnCustomize.Create(this, IDC_MAIN_CUSTOMIZE, rectOf(33, 395, 227, 423), {},
                          QStringLiteral("ImageRes/main_custmize.png"));
    m_btnMonitor.Create(this, IDC_MAIN_MONITOR, rectOf(249, 395, 443, 423), {},
                        QStringLiteral("ImageRes/main_monitor.png"));
    m_barLeft.Create(this, IDC_MAIN_BAR_LEFT, rectOf(51, 73, 61, 329), {},
                     QStringLiteral("ImageRes/main_probarleft.png"));
    m_barRight.Create(this, IDC_MAIN_BAR_RIGHT, rectOf(415, 73, 425, 329), {},
                      QStringLiteral("ImageRes/main_probargight.png"));
    // Labels on the inner side of each gauge.
    m_barLeft.SetScaleRects(scaleRects(74));
    m_barRight.SetScaleRects(scaleRects(372));
    // The captions are in the pictures; assistive technology reads these.
    m_btnClose.SetAccessibleName(QCoreApplication::translate("CVantrelDlg", "Close"));
    m_btnMin.SetAccessibleName(QCoreApplication::translate("CVantrelDlg", "Minimise"));
    m_btnSet.SetAccessibleName(QCoreApplication::translate("CVantrelDlg", "Settings"));
    m_chkClockLock.SetAccessibleName(QCoreApplication::translate("CVantrelDlg", "Clock Lock"));
    m_btnGpuInfo.SetAccessibleName(QCoreApplication::translate("CVantrelDlg", "GPU Info"));
    m_btnCustomize.SetAccessibleName(QCoreApplication::translate("CVantrelDlg", "Overclock"));
    m_btnMonitor.SetAccessibleName(QCoreApplication::translate("CVantrelDlg", "Monitor"));
}

bool CVantrelDlg::ReadSettings(bool bStartup) {
    if (bStartup) {
        settings::SettingsReader s;
        // Without a system tray nothing could bring a hidden window back: it stays
        // shown and its close button closes.
        if (s.read(settings::keys::kStartMinimized) && platform::TrayIcon::hostAvailable()) {
            m_bHidden = m_bCloseToTray = true;
            SetTrayIcon(true);
        }
        // The value EnableFan gets at close, so a run that never opens the settings
        // window keeps the user's choice.
        m_bFanAutoEnable = s.read(settings::keys::kAutoSystem);
        if (s.read(settings::keys::kEnableFan)) {
            m_nFanControl = kFanCurve;
            ReadSettings(false);
        }
        m_nLeftSight = s.read(settings::keys::kQuickSightLeft);
        m_nRightSight = s.read(settings::keys::kQuickSightRight);
        RegisterScreenshotHotKey(s.read(settings::keys::kHotKeyVirtualKey),
                                 s.read(settings::keys::kHotKeyModifiers));
        m_strScreenshotPath = QString::fromStdString(s.read(settings::keys::kScreenshotFolder));
        app::CheckForUpdate(*this);
        return true;
    }
    if (m_nFanControl == kFanCurve) {
        settings::SettingsReader s;
        m_fanController.setCurve(fan::readFanCurve(s));
        m_nUpdateTime = _wtol(s.read(settings::keys::kUpdateTime));
        if (m_bFanTimer) KillTimer(kFanTimer);
        // A negative period means "as fast as allowed", as 0 does.
        SetTimer(kFanTimer, UINT(std::clamp<int32_t>(m_nUpdateTime, 0, INT_MAX)));
        m_bFanTimer = true;
        m_fanController.resetFailures();
    } else if (m_bFanTimer) {
        KillTimer(kFanTimer);
        m_bFanTimer = false;
        m_fanController.resetFailures();
        m_fanIo.restoreFanDefault();
    }
    return true;
}

// Two plain stores, not an assignment to a conditional lvalue: inlined at -O3,
// GCC 12 made that form store into both members.
void CVantrelDlg::SetQuickSight(int side, int index) {
    if (side)
        m_nRightSight = index;
    else
        m_nLeftSight = index;
}

void CVantrelDlg::UpdateQuickSight(bool bSample) {
    CProgressbar* bars[2] = {&m_barLeft, &m_barRight};
    const int choices[2] = {m_nLeftSight, m_nRightSight};
    if (!bSample) {
        for (int i = 0; i < 2; ++i)
            if (app::isQuickSightChoice(choices[i])) {
                bars[i]->SetRange(app::quickSightRange(choices[i]));
                bars[i]->SetAccessibleName(
                    QCoreApplication::translate("QuickSight", app::quickSightCaption(choices[i])));
                bars[i]->SetAccessibleUnit(QString::fromUtf8(app::quickSightUnit(choices[i])));
            }
        return;
    }
    // A reading may open a message box (cooler errors), whose loop keeps the eye
    // ticking: never stack a second sampling on top of one in progress.
    if (m_bSampling) return;
    m_bSampling = true;
    for (int i = 0; i < 2; ++i)
        if (app::isQuickSightChoice(choices[i])) bars[i]->SetPos(app::sampleQuickSight(choices[i]));
    m_bSampling = false;
}

bool CVantrelDlg::ExitCleanup() {
    // No fan-curve tick may follow the hand-back.
    if (m_bFanTimer) {
        KillTimer(kFanTimer);
        m_bFanTimer = false;
    }
    // The fan first: nothing the settings document does afterwards can keep it.
    m_fanIo.restoreEveryFan();
    settings::SettingsWriter w;
    w.write(settings::keys::kEnableFan, m_bFanAutoEnable);
    w.save();
    skin::unloadSkinFont();
    return true;
}

bool CVantrelDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDC_MAIN_CLOSE:
            if (m_bCloseToTray)
                HideToTray();
            else
                PostMessage(WM_CLOSE);
            break;
        case IDC_MAIN_MIN:
            ShowWindow(SW_MINIMIZE);
            break;
        case IDC_MAIN_SET:
            OpenSettings();
            break;
        case IDC_MAIN_CLOCKLOCK:
            // Without the clock panel there is nothing to lock.
            if (m_pClockSetDlg)
                m_pClockSetDlg->LockAdjusting(m_chkClockLock.GetCheck());
            else
                m_chkClockLock.SetCheck(false);
            break;
        case IDC_MAIN_GPUINFO:
            OpenGpuInfo();
            break;
        case IDC_MAIN_CUSTOMIZE:
            if (m_pClockSetDlg)
                m_pClockSetDlg->ShowWindow(SW_SHOW);
            else if (ConfirmOverclocking())
                OpenClockPanel();
            break;
        case IDC_MAIN_MONITOR:
            OpenMonitor();
            break;
        case IDC_MAIN_EYE:
            UpdateQuickSight(true);
            break;
        case ID_PANEL_GPUINFO_CLOSED:
            closePanel(m_pGpuInfoDlg, this, ID_PANEL_GPUINFO_CLOSED);
            break;
        case ID_PANEL_CLOCK_CLOSED:
            if (!closePanel(m_pClockSetDlg, this, ID_PANEL_CLOCK_CLOSED)) break;
            // The next panel opens unlocked.
            m_chkClockLock.SetCheck(false);
            m_chkClockLock.Enable(false);
            RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            break;
        case ID_PANEL_MONITOR_CLOSED:
            closePanel(m_pMonitorDlg, this, ID_PANEL_MONITOR_CLOSED);
            break;
        case ID_TRAY_SHOW:
            RestoreFromTray();
            break;
        case ID_TRAY_CLOSE:
            PostMessage(WM_CLOSE);
            break;
        default:
            break;
    }
    return CDialogBase::OnCommand(wParam, lParam);
}

void CVantrelDlg::OpenMonitor() {
    if (m_pMonitorDlg) {
        m_pMonitorDlg->ShowWindow(SW_SHOW);
        return;
    }
    m_pMonitorDlg = std::make_unique<CMonitorDlg>(*this);
    m_pMonitorDlg->Create();
    m_pMonitorDlg->ShowWindow(SW_SHOW);
    m_pMonitorDlg->SetForegroundWindow();
}

bool CVantrelDlg::ConfirmOverclocking() {
    // The box leaves the window usable: a second click does not stack a second one.
    if (m_bConfirming) return false;
    m_bConfirming = true;
    const bool yes = platform::MessageBox(
                         QCoreApplication::translate("CVantrelDlg", kOverclockWarningText).toStdString(),
                         QCoreApplication::translate("CVantrelDlg", kOverclockWarningCaption).toStdString(),
                         MB_YESNO) == IDYES;
    m_bConfirming = false;
    return yes;
}

void CVantrelDlg::OnClose() {
    platform::dismissMessageBoxes();
    EndDialog(IDCANCEL);
}

void CVantrelDlg::OnSeenChange(bool seen) {
    if (IsDestroyed()) return;
    if (!seen) {
        KillTimer(kEyeTimer);
        return;
    }
    if (HasTimer(kEyeTimer)) return;  // never stopped: the first show
    SetTimer(kEyeTimer, kEyePeriodMs);
    UpdateQuickSight(true);
    RedrawWindow(nullptr, RDW_INTERNALPAINT);
}

void CVantrelDlg::OpenClockPanel() {
    m_pClockSetDlg = std::make_unique<CClockSetDlg>(*this);
    m_pClockSetDlg->Create();
    m_pClockSetDlg->ShowWindow(SW_SHOW);
    m_pClockSetDlg->SetForegroundWindow();
    m_chkClockLock.Enable(true);
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT CVantrelDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        CancelSettings();
        SetTrayIcon(false);
        ExitCleanup();
    }
    if (m_bHidden && IsWindowVisible()) ShowWindow(SW_HIDE);
    switch (message) {
        case WM_TRAY_NOTIFY:
            OnTrayNotify(wParam, lParam);
            return 0;
        case WM_HOTKEY:
            TakeScreenshot();
            break;
        case WM_TIMER:
            if (wParam == kFanTimer) FanCurveStep();
            break;
        case WM_MOVE: {
            const LRESULT result = CDialogBase::WindowProc(message, wParam, lParam);
            DockPanels();
            return result;
        }
        default:
            break;
    }
    return CDialogBase::WindowProc(message, wParam, lParam);
}

void CVantrelDlg::OnSysCommand(WPARAM code, LPARAM lParam) {
    if ((code & 0xFFF0) == SC_CLOSE) {
        if (m_bCloseToTray) {
            HideToTray();
            return;
        }
        SetTrayIcon(false);
        ExitCleanup();
    }
    CDialogBase::OnSysCommand(code, lParam);
}

void CVantrelDlg::HideToTray() {
    ShowWindow(SW_MINIMIZE);
    ShowWindow(SW_HIDE);
}

void CVantrelDlg::RestoreFromTray() {
    m_bHidden = false;
    ShowWindow(SW_SHOWNORMAL);
}

void CVantrelDlg::RaiseForAnotherStart() {
    RestoreFromTray();
    SetForegroundWindow();
}

void CVantrelDlg::DockPanels() {
    if (m_pClockSetDlg) m_pClockSetDlg->PlacePanel();
    const RECT main = GetWindowRect();
    if (m_pGpuInfoDlg) {
        const RECT r = gpuInfoDockRect(main);
        m_pGpuInfoDlg->SetWindowPos(r.left, r.top, RectWidth(r), RectHeight(r), SWP_SHOWWINDOW);
    }
    if (m_pMonitorDlg) {
        const RECT r = monitorDockRect(main);
        m_pMonitorDlg->SetWindowPos(r.left, r.top, RectWidth(r), RectHeight(r), SWP_SHOWWINDOW);
    }
}

void CVantrelDlg::OpenGpuInfo() {
    if (m_pGpuInfoDlg) {  // an open panel is left as it is, brought back if hidden
        m_pGpuInfoDlg->ShowWindow(SW_SHOW);
        return;
    }
    m_pGpuInfoDlg = std::make_unique<CGpuInfoDlg>(*this);
    m_pGpuInfoDlg->Create();
    m_pGpuInfoDlg->ShowWindow(SW_SHOW);
    m_pGpuInfoDlg->SetForegroundWindow();
}

void CVantrelDlg::GpuChanging() {
    // Nothing else would ever give that fan back: the close routine acts on the GPU in use.
    if (m_bFanTimer) {
        m_fanIo.restoreFanDefault();
        m_fanController.resetFailures();
    }
}

void CVantrelDlg::ShowFanMode(bool fanCurve) {
    if (m_pClockSetDlg) m_pClockSetDlg->SelectFanMode(fanCurve);
}

void CVantrelDlg::RetuneMonitor(const monitor::MonitorSettings& settings) {
    // The stand-in panels of the tests are no monitor panels.
    if (auto* panel = dynamic_cast<CMonitorDlg*>(m_pMonitorDlg.get())) panel->Retune(settings);
}

void CVantrelDlg::CheckForUpdateNow(QWidget& owner) {
    app::CheckNow(owner);
}

void CVantrelDlg::GpuChanged() {
    // Gauges, fan curve and monitor read the GPU in use at every sample; the
    // clock panel (and its voltage panel) read their ranges again.
    if (m_pClockSetDlg) m_pClockSetDlg->ReloadRanges();
}
