#include "setup/fan_dlg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include "fan/fan_settings.h"
#include "fan/static_fan_ctl.h"
#include "gpu/tuning.h"
#include "platform/up_down_edit.h"
#include "services/main_window_services.h"
#include "settings/settings_reader.h"

using app::MainWindowServices;

CFanDlg::CFanDlg(platform::Window* dialog, app::MainWindowServices& main)
    : CSettingsPage(dialog), m_main(main) {}

bool CFanDlg::OnInitDialog() {
    AddHeading(IDC_HEADING, QCoreApplication::translate("CFanDlg", "Fan control properties"), 3, 7, 229, 14);
    m_chkEnable =
        AddCheckBox(IDC_ENABLE, QCoreApplication::translate("CFanDlg", "Enable Ploverin fan control system"),
                    3, 27, 120, 10);
    m_ctlFan = AddControl(new CStaticFanCtl(this), IDC_FAN_CURVE, 3, 38, 230, 173);
    m_chkAutoEnable = AddCheckBox(
        IDC_AUTO_ENABLE,
        QCoreApplication::translate("CFanDlg", "Auto Enable Ploverin fan control system on Vantrel startup"),
        3, 216, 212, 10);
    m_lblPeriod = AddLabel(QCoreApplication::translate("CFanDlg", "Fan speed update period(in milliseconds)"),
                           3, 232, 130, 8);
    BindControl(m_lblPeriod, IDC_PERIOD_LABEL);
    // The edit and its arrows as one control, reaching to the template's up-down.
    m_spinUpdateTime =
        AddControl(new platform::UpDownEdit(this), IDC_UPDATE_SPIN, 153, 229, 80, 14, setup::Fit::Text);
    BindControl(m_spinUpdateTime->edit(), IDC_UPDATE_TIME);
    // Before the curve is loaded, which places its points on the editor's width.
    FollowRightMargin(m_ctlFan, Follow::Stretch);
    FollowRightMargin(m_spinUpdateTime, Follow::Move);
    m_spinUpdateTime->setText(QString::number(kMinPeriod));
    m_spinUpdateTime->SetRange(kMinPeriod, kMaxPeriod);
    m_spinUpdateTime->SetStep(kPeriodStep);
    Load();
    return true;
}

// One settings access. The main window's live fan state wins over EnableFan
// once the main window has settled it.
void CFanDlg::Load() {
    const settings::SettingsReader s;
    const int control = m_main.FanControl();
    const bool enabled =
        control == MainWindowServices::kFanUnknown ? s.read(settings::keys::kEnableFan) : control != 0;
    m_chkEnable->setChecked(enabled);
    ShowCurveGroup(enabled);

    const bool autoEnable = s.read(settings::keys::kAutoSystem);
    m_chkAutoEnable->setChecked(autoEnable);
    m_main.SetFanAutoEnable(autoEnable);

    m_spinUpdateTime->setText(QString::fromStdString(s.read(settings::keys::kUpdateTime)));

    const fan::FanCurve curve = fan::readFanCurve(s);
    m_ctlFan->SetStepped(curve.stepped());  // before SetFanMap, which builds the stepped form
    m_ctlFan->SetFanMap(curve.points.data());

    // Shown as stored, but nothing to change on a GPU without fan control.
    const bool fanControl = gpu::fanControllable();
    for (QWidget* w : {static_cast<QWidget*>(m_chkEnable), static_cast<QWidget*>(m_ctlFan),
                       static_cast<QWidget*>(m_chkAutoEnable), static_cast<QWidget*>(m_spinUpdateTime)})
        w->setEnabled(fanControl);
}

bool CFanDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_ENABLE && HIWORD(wParam) == BN_CLICKED) {
        OnEnableClicked();
        return true;
    }
    return CSettingsPage::OnCommand(wParam, lParam);
}

void CFanDlg::OnEnableClicked() {
    const bool enabled = m_chkEnable->isChecked();
    ShowCurveGroup(enabled);
    if (!enabled) m_chkAutoEnable->setChecked(false);
}

void CFanDlg::ShowCurveGroup(bool show) {
    for (QWidget* w : {static_cast<QWidget*>(m_ctlFan), static_cast<QWidget*>(m_lblPeriod),
                       static_cast<QWidget*>(m_chkAutoEnable), static_cast<QWidget*>(m_spinUpdateTime)})
        w->setVisible(show);
}

bool CFanDlg::FanControlEnabled() const {
    return m_chkEnable && m_chkEnable->isChecked();
}

bool CFanDlg::AutoEnable() const {
    return m_chkAutoEnable && m_chkAutoEnable->isChecked();
}

QString CFanDlg::UpdateTimeText() const {
    return m_spinUpdateTime ? m_spinUpdateTime->text() : QString();
}

fan::FanCurve CFanDlg::Curve() const {
    fan::FanCurve curve;
    if (!m_ctlFan) return curve;
    m_ctlFan->GetFanMap(curve.points.data());
    curve.blLine = m_ctlFan->Stepped() ? 1 : 0;
    return curve;
}
