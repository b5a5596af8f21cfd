// The settings window: a modal dialog over the main window whose tab control
// holds seven pages. The pages show what is stored when the window opens; OK
// applies autostart, commits every page in one settings access and hands the
// changes to the main window; Cancel and the close button change nothing.
#pragma once

#include <array>
#include <memory>

#include "platform/window.h"

class CFanDlg;
class CMonitoringDlg;
class QPushButton;

namespace app {
class MainWindowServices;
}
namespace platform {
class TabControl;
}
namespace settings {
class SettingsWriter;
}

namespace setup {

class CSettingsPage;
class CAboutDlg;
class CBiosDlg;
class CGeneralDlg;
class CQuickSightSettingsDlg;
class CUIDlg;

class CSetDlg : public platform::Window {
    Q_OBJECT
  public:
    enum : UINT { IDC_TAB = 1000 };
    // Tab indices, in the order the tabs stand.
    enum Tab : int { kGeneral, kFan, kBios, kMonitoring, kQuickSight, kUi, kAbout, kTabCount };

    // `main` is the main window the commit acts on; the window is modal over its
    // PanelOwner().
    explicit CSetDlg(app::MainWindowServices& main);
    ~CSetDlg() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows the page of `tab` as a click on its tab does.
    void SelectTab(int tab);
    CSettingsPage* Page(int tab) const { return m_pages[size_t(tab)].get(); }
    platform::TabControl* TabControl() const { return m_tab; }
    // Where the pages stand, in the tab control's coordinates.
    QRect PageRect() const;

    // The pages the commit reads, each as its own type; null until OnInitDialog has run.
    CGeneralDlg* GeneralPage() const;
    CFanDlg* FanPage() const;
    CMonitoringDlg* MonitoringPage() const;
    CQuickSightSettingsDlg* QuickSightPage() const;
    CUIDlg* UiPage() const;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    // Dialog units of the page font the pages' controls reach to the right, and
    // the tab control's frame in pixels.
    static constexpr int kPageWidth = 234;
    static constexpr int kFrame = 2;

    std::unique_ptr<CSettingsPage> CreatePage(Tab tab);
    void Layout();
    void PlaceButtons();
    void OnSelChange();
    void ApplyAutostart();
    void Commit();
    void CommitFanPage(settings::SettingsWriter& w);
    void CommitMonitoringPage(settings::SettingsWriter& w);
    void CommitQuickSight(settings::SettingsWriter& w);
    void CommitScreenshot(settings::SettingsWriter& w);

    app::MainWindowServices& m_main;
    platform::TabControl* m_tab = nullptr;
    QPushButton* m_btnOK = nullptr;
    QPushButton* m_btnCancel = nullptr;
    std::array<std::unique_ptr<CSettingsPage>, kTabCount> m_pages;
};

}  // namespace setup
