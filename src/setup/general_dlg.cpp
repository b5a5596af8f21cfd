#include "setup/general_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "platform/process.h"
#include "settings/settings_reader.h"
#include "setup/autostart.h"

namespace setup {
namespace {
constexpr int kFirstSchedule = 3;  // "on startup weekly", until the stored value replaces it
}  // namespace

CGeneralDlg::CGeneralDlg(platform::Window* dialog, app::MainWindowServices& main)
    : CSettingsPage(dialog), m_main(main) {}

bool CGeneralDlg::OnInitDialog() {
    AddHeading(IDC_HEADING_GENERAL, QCoreApplication::translate("CGeneralDlg", "General properties"), 3, 7,
               229, 14);
    m_chkStartWithWindows =
        AddCheckBox(IDC_START_WITH_WINDOWS, QCoreApplication::translate("CGeneralDlg", "Start with Windows"),
                    3, 31, 96, 10);
    m_chkStartMinimized = AddCheckBox(
        IDC_START_MINIMIZED, QCoreApplication::translate("CGeneralDlg", "Start minimized"), 3, 49, 64, 10);
    AddHeading(IDC_HEADING_UPDATE, QCoreApplication::translate("CGeneralDlg", "Update checking properties"),
               3, 71, 229, 14);
    QLabel* checkFor =
        AddLabel(QCoreApplication::translate("CGeneralDlg", "Check for available product"), 3, 98, 88, 8);
    m_cbUpdateCheck = AddDropDownList(IDC_UPDATE_LIST, 137, 98, 95);
    CentreOn(checkFor, m_cbUpdateCheck);
    QLabel* recent = AddLabel(QCoreApplication::translate("CGeneralDlg", "Recent updates"), 3, 120, 173, 8);
    m_btnCheckNow = AddPushButton(IDC_CHECK_NOW, QCoreApplication::translate("CGeneralDlg", "Check now"), 182,
                                  117, 50, 14);
    CentreOn(recent, m_btnCheckNow);
    FollowRightMargin(m_cbUpdateCheck, Follow::Move);
    FollowRightMargin(m_btnCheckNow, Follow::Move);

    for (int i = 0; i < 5; ++i)
        m_cbUpdateCheck->insertItem(i, QCoreApplication::translate("CGeneralDlg", kSchedules[i]));
    m_cbUpdateCheck->setCurrentIndex(kFirstSchedule);

    m_chkStartWithWindows->setChecked(autostartNames(autostartEntryPath(), platform::executablePath()));

    const settings::SettingsReader s;
    m_chkStartMinimized->setChecked(s.read(settings::keys::kStartMinimized));
    const int schedule = s.read(settings::keys::kUpdateCheck);
    m_cbUpdateCheck->setCurrentIndex(schedule >= 0 && schedule < 5 ? schedule : -1);
    return true;
}

bool CGeneralDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    // At once, outside the commit; the offer belongs to this page.
    if (LOWORD(wParam) == IDC_CHECK_NOW && HIWORD(wParam) == BN_CLICKED) {
        m_main.CheckForUpdateNow(*this);
        return true;
    }
    return CSettingsPage::OnCommand(wParam, lParam);
}

bool CGeneralDlg::StartWithWindows() const {
    return m_chkStartWithWindows && m_chkStartWithWindows->isChecked();
}

bool CGeneralDlg::StartMinimized() const {
    return m_chkStartMinimized && m_chkStartMinimized->isChecked();
}

int CGeneralDlg::UpdateSelection() const {
    return m_cbUpdateCheck ? m_cbUpdateCheck->currentIndex() : -1;
}

}  // namespace setup
