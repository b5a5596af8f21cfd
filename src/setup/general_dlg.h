// The settings window's "General" page: autostart, start minimised and the
// update schedule, with the button that checks for an update at once.
#pragma once

#include "services/main_window_services.h"
#include "setup/settings_page.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace setup {

class CGeneralDlg : public CSettingsPage {
    Q_OBJECT
  public:
    enum : UINT {
        IDC_START_WITH_WINDOWS = 1003,
        IDC_START_MINIMIZED = 1004,
        IDC_HEADING_GENERAL = 1005,
        IDC_HEADING_UPDATE = 1006,
        IDC_UPDATE_LIST = 1009,
        IDC_CHECK_NOW = 1010,
    };
    // The update list's entries; the index is the stored schedule.
    static constexpr const char* kSchedules[5] = {QT_TRANSLATE_NOOP("CGeneralDlg", "never"),
                                                  QT_TRANSLATE_NOOP("CGeneralDlg", "on startup"),
                                                  QT_TRANSLATE_NOOP("CGeneralDlg", "on startup daily"),
                                                  QT_TRANSLATE_NOOP("CGeneralDlg", "on startup weekly"),
                                                  QT_TRANSLATE_NOOP("CGeneralDlg", "on startup monthly")};

    CGeneralDlg(platform::Window* dialog, app::MainWindowServices& main);

    bool StartWithWindows() const;
    bool StartMinimized() const;
    // -1 when the list has no selection.
    int UpdateSelection() const;

    // Its child controls, for driving it as a user would (tests).
    QCheckBox* StartWithWindowsBox() const { return m_chkStartWithWindows; }
    QCheckBox* StartMinimizedBox() const { return m_chkStartMinimized; }
    QComboBox* UpdateCheckCombo() const { return m_cbUpdateCheck; }
    QPushButton* CheckNowButton() const { return m_btnCheckNow; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    QCheckBox* m_chkStartWithWindows = nullptr;
    QCheckBox* m_chkStartMinimized = nullptr;
    QComboBox* m_cbUpdateCheck = nullptr;
    QPushButton* m_btnCheckNow = nullptr;
    app::MainWindowServices& m_main;
};

}  // namespace setup
