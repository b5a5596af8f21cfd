#include "setup/set_dlg.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <algorithm>

#include "fan/fan_settings.h"
#include "monitor/monitor_settings.h"
#include "platform/process.h"
#include "platform/tab_control.h"
#include "services/main_window_services.h"
#include "settings/settings_writer.h"
#include "setup/about_dlg.h"
#include "setup/autostart.h"
#include "setup/bios_dlg.h"
#include "setup/fan_dlg.h"
#include "setup/general_dlg.h"
#include "setup/monitoring_dlg.h"
#include "setup/page_layout.h"
#include "setup/quick_sight_settings_dlg.h"
#include "setup/ui_dlg.h"

namespace setup {
namespace {

// The tabs, in the order they stand.
constexpr const char* kTabTexts[CSetDlg::kTabCount] = {
    QT_TRANSLATE_NOOP("CSetDlg", "General"),
    QT_TRANSLATE_NOOP("CSetDlg", "Fan"),
    QT_TRANSLATE_NOOP("CSetDlg", "BIOS"),
    QT_TRANSLATE_NOOP("CSetDlg", "Monitoring"),
    QT_TRANSLATE_NOOP("CSetDlg", "Quick Sight Settings"),
    QT_TRANSLATE_NOOP("CSetDlg", "UI"),
    QT_TRANSLATE_NOOP("CSetDlg", "About"),
};

// The order the pages are created in; it is not the tabs' order.
constexpr CSetDlg::Tab kCreationOrder[CSetDlg::kTabCount] = {
    CSetDlg::kGeneral, CSetDlg::kFan, CSetDlg::kMonitoring, CSetDlg::kQuickSight,
    CSetDlg::kBios,    CSetDlg::kUi,  CSetDlg::kAbout,
};

template <typename Page>
std::unique_ptr<CSettingsPage> own(Page* page) {
    return std::unique_ptr<CSettingsPage>(page);
}

}  // namespace

CSetDlg::CSetDlg(app::MainWindowServices& main) : platform::Window(main.PanelOwner()), m_main(main) {
    setWindowTitle(QCoreApplication::translate("CSetDlg", "Seting Properties"));
    setFont(windowFont());
}

CSetDlg::~CSetDlg() {
    for (auto& page : m_pages)
        if (page) page->DestroyWindow();
}

CGeneralDlg* CSetDlg::GeneralPage() const {
    return static_cast<CGeneralDlg*>(Page(kGeneral));
}
CFanDlg* CSetDlg::FanPage() const {
    return static_cast<CFanDlg*>(Page(kFan));
}
CMonitoringDlg* CSetDlg::MonitoringPage() const {
    return static_cast<CMonitoringDlg*>(Page(kMonitoring));
}
CQuickSightSettingsDlg* CSetDlg::QuickSightPage() const {
    return static_cast<CQuickSightSettingsDlg*>(Page(kQuickSight));
}
CUIDlg* CSetDlg::UiPage() const {
    return static_cast<CUIDlg*>(Page(kUi));
}

std::unique_ptr<CSettingsPage> CSetDlg::CreatePage(Tab tab) {
    switch (tab) {
        case kGeneral:
            return own(new CGeneralDlg(this, m_main));
        case kFan:
            return own(new CFanDlg(this, m_main));
        case kMonitoring:
            return own(new CMonitoringDlg(this));
        case kQuickSight:
            return own(new CQuickSightSettingsDlg(this));
        case kUi:
            return own(new CUIDlg(this));
        case kAbout:
            return own(new CAboutDlg(this));
        case kBios:
            return own(new CBiosDlg(this));
        case kTabCount:
            break;
    }
    return std::make_unique<CSettingsPage>(this);  // not reached: every tab has its page
}

bool CSetDlg::OnInitDialog() {
    m_tab = new platform::TabControl(this);
    for (int i = 0; i < kTabCount; ++i)
        m_tab->InsertItem(i, QCoreApplication::translate("CSetDlg", kTabTexts[i]));
    connect(m_tab, &platform::TabControl::selChange, this, &CSetDlg::OnSelChange);
    Layout();

    // Each page reads its settings as it is created, with this window as its
    // parent; then it moves into the tab control.
    const QRect pageRect = PageRect();
    for (Tab tab : kCreationOrder) {
        auto& page = m_pages[size_t(tab)];
        page = CreatePage(tab);
        page->resize(pageRect.size());  // its controls follow its right margin from the start
        page->Create();
        page->SetParent(m_tab);
        page->SetWindowPos(pageRect.x(), pageRect.y(), pageRect.width(), pageRect.height(), SWP_NOZORDER);
    }
    m_pages[kGeneral]->ShowWindow(SW_SHOW);

    // After the pages, so that Tab goes from the tabs through the shown page to
    // the buttons.
    m_btnOK = new QPushButton(QCoreApplication::translate("CSetDlg", "OK"), this);
    m_btnOK->setDefault(true);
    BindControl(m_btnOK, IDOK);
    m_btnCancel = new QPushButton(QCoreApplication::translate("CSetDlg", "Cancel"), this);
    BindControl(m_btnCancel, IDCANCEL);
    PlaceButtons();
    m_tab->tabBar()->setFocus();

    // Centred over the main window, inside the screen.
    if (const Window* owner = GetParent()) {
        const RECT o = owner->GetWindowRect();
        QPoint at((o.left + o.right - width()) / 2, (o.top + o.bottom - height()) / 2);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect s = screen->availableGeometry();
            at.setX(std::clamp(at.x(), s.left(), std::max(s.left(), s.right() - width())));
            at.setY(std::clamp(at.y(), s.top(), std::max(s.top(), s.bottom() - height())));
        }
        move(at);
    }
    return true;
}

// The template's layout, widened where this desktop's fonts need more room:
// for the row of tabs, and for the pages, whose controls reach 232 units of the
// page font.
void CSetDlg::Layout() {
    const QFont f = font();
    const QRect client = dialogRect(f, 0, 0, 218, 317);
    const QRect tab = dialogRect(f, 4, 2, 210, 294);
    const int pageWidth = dialogRect(pageFont(), 0, 0, kPageWidth, 0).width();
    const int tabWidth =
        std::max({tab.width(), pageWidth + 8 + 2 * kFrame, m_tab->TabRowWidth() + 2 * kFrame});
    setFixedSize(client.width() + tabWidth - tab.width(), client.height());
    m_tab->setGeometry(tab.x(), tab.y(), tabWidth, tab.height());
}

// At their template places, moved with the centre of a widened window.
void CSetDlg::PlaceButtons() {
    const QFont f = font();
    const int shift = (width() - dialogRect(f, 0, 0, 218, 0).width()) / 2;
    place(m_btnOK, f, 99, 300, 43, 12);
    place(m_btnCancel, f, 159, 300, 43, 12);
    m_btnOK->move(m_btnOK->pos() + QPoint(shift, 0));
    m_btnCancel->move(m_btnCancel->pos() + QPoint(shift, 0));
}

QRect CSetDlg::PageRect() const {
    QRect r = m_tab->rect();
    r.setTop(r.top() + m_tab->GetItemRect(0).height());
    return r.adjusted(4, 4, -4, -4);
}

LRESULT CSetDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        if (m_surface.size() != size()) m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_surface.fill(palette().window().color());
        return 0;
    }
    return platform::Window::WindowProc(message, wParam, lParam);
}

void CSetDlg::OnSelChange() {
    const int selected = m_tab->GetCurSel();
    for (int i = 0; i < kTabCount; ++i)
        if (m_pages[size_t(i)]) m_pages[size_t(i)]->ShowWindow(i == selected ? SW_SHOW : SW_HIDE);
}

void CSetDlg::SelectTab(int tab) {
    m_tab->SetCurSel(tab);
    OnSelChange();
}

void CSetDlg::OnOK() {
    ApplyAutostart();
    Commit();
    m_main.ReadSettings(false);
    EndDialog(IDOK);
}

void CSetDlg::ApplyAutostart() {
    const std::string entry = autostartEntryPath();
    if (GeneralPage()->StartWithWindows())
        writeAutostartEntry(entry, platform::executablePath());
    else
        removeAutostartEntry(entry);
}

// One settings access; a failed save still closes the window, and what reached
// the main window before stays.
void CSetDlg::Commit() {
    settings::SettingsWriter w;
    // 1. General page: start minimised, update schedule (-1 with no selection).
    w.write(settings::keys::kStartMinimized, GeneralPage()->StartMinimized());
    w.write(settings::keys::kUpdateCheck, GeneralPage()->UpdateSelection());
    // 2-5. Fan page.
    CommitFanPage(w);
    // 6-10. Monitoring page.
    CommitMonitoringPage(w);
    // 11. Quick sight choices, each only when its group has a checked button.
    CommitQuickSight(w);
    // 12-13. Screenshot folder and hot key.
    CommitScreenshot(w);
    // 14.
    w.save();
}

// Steps 2-5, the Fan page's: the main window's fan-control flag (and an open
// clock panel's fan mode), FanMap with blLine, UpdateTime as typed, AutoSystem
// with the main window's auto-enable flag.
void CSetDlg::CommitFanPage(settings::SettingsWriter& w) {
    const bool enabled = FanPage()->FanControlEnabled();
    m_main.SetFanControl(enabled ? app::MainWindowServices::kFanCurve : app::MainWindowServices::kFanOff);
    m_main.ShowFanMode(enabled);
    fan::writeFanCurve(w, FanPage()->Curve());
    w.write(settings::keys::kUpdateTime, FanPage()->UpdateTimeText().toStdString());
    const bool autoEnable = FanPage()->AutoEnable();
    w.write(settings::keys::kAutoSystem, autoEnable);
    m_main.SetFanAutoEnable(autoEnable);
}

// Steps 6-10, the Monitoring page's: its section as typed; an open monitor
// panel takes the new period (its history kept), its log switch and path, and
// the first four active quantities.
void CSetDlg::CommitMonitoringPage(settings::SettingsWriter& w) {
    const monitor::MonitoringTexts values = MonitoringPage()->Values();
    monitor::writeMonitoringTexts(w, values);
    m_main.RetuneMonitor(monitor::parseMonitoringTexts(values));
}

void CSetDlg::CommitQuickSight(settings::SettingsWriter& w) {
    constexpr settings::IntegerKey kKeys[2] = {settings::keys::kQuickSightLeft,
                                               settings::keys::kQuickSightRight};
    for (auto side : {CQuickSightSettingsDlg::kLeft, CQuickSightSettingsDlg::kRight}) {
        const int index = QuickSightPage()->Choice(side);
        if (index < 0) continue;
        m_main.SetQuickSight(side, index);
        m_main.UpdateQuickSight(false);
        m_main.UpdateQuickSight(true);
        w.write(kKeys[side], index);
    }
}

void CSetDlg::CommitScreenshot(settings::SettingsWriter& w) {
    const QString folder = UiPage()->Folder();
    w.write(settings::keys::kScreenshotFolder, folder.toStdString());
    m_main.SetScreenshotFolder(folder);

    const uint16_t hotKey = UiPage()->HotKey();
    const int key = hotKey & 0xFF;
    const int flags = hotKey >> 8;
    w.write(settings::keys::kHotKeyVirtualKey, key);
    w.write(settings::keys::kHotKeyModifiers, flags);
    // The main window releases the old combination before taking the new one; a
    // combination without a key grabs nothing.
    if (key || flags)
        m_main.RegisterScreenshotHotKey(key, flags);
    else
        m_main.UnregisterScreenshotHotKey();
}

}  // namespace setup
