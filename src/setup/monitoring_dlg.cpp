#include "setup/monitoring_dlg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/up_down_edit.h"
#include "settings/settings_reader.h"
#include "skin/static_ex.h"

namespace {

// The list's rows, in SensorKind order.
constexpr const char* kRowTexts[monitor::kSensorCount] = {
    QT_TRANSLATE_NOOP("CMonitoringDlg", "GPU clock"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "Memory clock"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "GPU temperature"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "GPU usage"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "Memory usage"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "GPU voltage"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "Fan speed"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "Fan tachometer"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "Power Target"),
    QT_TRANSLATE_NOOP("CMonitoringDlg", "Shader clock"),
};

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

CMonitoringDlg::CMonitoringDlg(platform::Window* dialog) : CSettingsPage(dialog) {}

bool CMonitoringDlg::OnInitDialog() {
    AddHeading(IDC_HEADING_MONITORING,
               QCoreApplication::translate("CMonitoringDlg", "Hardware monitoring properties"), 3, 7, 229,
               14);
    AddLabel(QCoreApplication::translate("CMonitoringDlg", "Hardware polling period(in milliseconds) "), 5,
             31, 128, 8);
    m_spinRefreshRate =
        AddControl(new platform::UpDownEdit(this), IDC_REFRESH_SPIN, 151, 28, 81, 14, setup::Fit::Text);
    BindControl(m_spinRefreshRate->edit(), IDC_REFRESH_RATE);
    m_spinRefreshRate->setText(QStringLiteral("100"));
    m_spinRefreshRate->SetRange(100, 60000);
    m_spinRefreshRate->SetStep(100);

    AddHeading(IDC_HEADING_HISTORY,
               QCoreApplication::translate("CMonitoringDlg", "Hardware monitoring history"), 3, 49, 229, 14);
    m_chkLogToFile = AddCheckBox(
        IDC_LOG_TO_FILE, QCoreApplication::translate("CMonitoringDlg", "Log history to file"), 5, 71, 71, 10);
    m_editLogPath = AddControl(new QLineEdit(this), IDC_LOG_PATH, 5, 88, 213, 12, setup::Fit::Text);
    m_btnBrowse = AddPushButton(IDC_BROWSE, QStringLiteral("..."), 219, 87, 13, 14);

    AddHeading(IDC_HEADING_GRAPHS,
               QCoreApplication::translate("CMonitoringDlg", "Active hardware monitoring graphs"), 3, 108,
               229, 14);
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QCoreApplication::translate("CMonitoringDlg", "Graph")});
    m_list->header()->setStretchLastSection(true);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (const char* text : kRowTexts) {
        auto* item = new QTreeWidgetItem(m_list, {QCoreApplication::translate("CMonitoringDlg", text)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    AddControl(m_list, IDC_GRAPH_LIST, 5, 130, 227, 110);

    AddHeading(IDC_HEADING_LIMITS,
               QCoreApplication::translate("CMonitoringDlg", "GPU clock graphs properties"), 3, 246, 229, 14);
    AddLabel(QCoreApplication::translate("CMonitoringDlg", "Maxinum limit"), 3, 267, 43, 8);
    m_spinMax = AddControl(new platform::UpDownEdit(this), IDC_MAX_SPIN, 172, 265, 60, 14, setup::Fit::Text);
    BindControl(m_spinMax->edit(), IDC_MAX);
    AddLabel(QCoreApplication::translate("CMonitoringDlg", "Mininum limit"), 3, 284, 40, 8);
    m_spinMin = AddControl(new platform::UpDownEdit(this), IDC_MIN_SPIN, 172, 281, 60, 14, setup::Fit::Text);
    BindControl(m_spinMin->edit(), IDC_MIN);
    for (platform::UpDownEdit* spin : {m_spinMax, m_spinMin}) spin->SetRange(0, 1000000);
    FollowRightMargin(m_spinRefreshRate, Follow::Move);
    FollowRightMargin(m_editLogPath, Follow::Stretch);
    FollowRightMargin(m_btnBrowse, Follow::Move);
    FollowRightMargin(m_list, Follow::Stretch);
    FollowRightMargin(m_spinMax, Follow::Move);
    FollowRightMargin(m_spinMin, Follow::Move);

    Load();
    m_editLogPath->setEnabled(m_chkLogToFile->isChecked());
    return true;
}

void CMonitoringDlg::Load() {
    const monitor::MonitoringTexts t = monitor::readMonitoringTexts(settings::SettingsReader());
    m_spinRefreshRate->setText(qs(t.refreshRate));
    m_chkLogToFile->setChecked(t.logToFile);
    m_editLogPath->setText(qs(t.logPath));
    m_sensors = t.sensors;
    for (int row = 0; row < monitor::kSensorCount; ++row)
        m_list->topLevelItem(row)->setCheckState(0,
                                                 m_sensors[size_t(row)].active ? Qt::Checked : Qt::Unchecked);
    // Shown, but no row owns the edits until one is selected.
    m_spinMax->setText(qs(m_sensors[0].max));
    m_spinMin->setText(qs(m_sensors[0].min));
}

LRESULT CMonitoringDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Every visit starts on the first row, so the limits shown are the GPU clock's.
    if (message == WM_SHOWWINDOW && m_list) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
        OnListChange();
    }
    return CSettingsPage::WindowProc(message, wParam, lParam);
}

bool CMonitoringDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (id == IDC_GRAPH_LIST && code == LBN_SELCHANGE)
        OnListChange();
    else if ((id == IDC_MAX || id == IDC_MIN) && code == EN_CHANGE)
        OnLimitChange(id == IDC_MAX);
    else if (id == IDC_LOG_TO_FILE && code == BN_CLICKED)
        m_editLogPath->setEnabled(m_chkLogToFile->isChecked());
    else if (id == IDC_BROWSE && code == BN_CLICKED)
        OnBrowse();
    return CSettingsPage::OnCommand(wParam, lParam);
}

int CMonitoringDlg::SelectionMark() const {
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CMonitoringDlg::OnListChange() {
    const int mark = SelectionMark();
    if (mark < 0 || m_bTooFewShown) return;
    const bool ticked = m_list->topLevelItem(mark)->checkState(0) == Qt::Checked;
    m_spinMax->setEnabled(ticked);
    m_spinMin->setEnabled(ticked);

    int active = 0;
    for (int row = 0; row < monitor::kSensorCount; ++row) {
        const bool on = m_list->topLevelItem(row)->checkState(0) == Qt::Checked;
        m_sensors[size_t(row)].active = on;
        active += on;
    }
    if (active < kMinActive) {
        // The box runs its own loop, in which the other notices of the same
        // click arrive: one box is enough.
        m_bTooFewShown = true;
        platform::MessageBox(QCoreApplication::translate("CMonitoringDlg", kTooFewText).toStdString(),
                             "Vantrel", MB_OK);
        m_bTooFewShown = false;
        for (int row = 0; row < monitor::kSensorCount && active < kMinActive; ++row) {
            if (m_sensors[size_t(row)].active) continue;
            m_sensors[size_t(row)].active = true;
            m_list->topLevelItem(row)->setCheckState(0, Qt::Checked);
            ++active;
        }
    }
    ShowLimits(mark);
}

void CMonitoringDlg::ShowLimits(int row) {
    // The edits belong to this row from now on; their change notices, delivered
    // later, copy back what they show.
    m_nEditRow = row;
    m_spinMax->setText(qs(m_sensors[size_t(row)].max));
    m_spinMin->setText(qs(m_sensors[size_t(row)].min));
}

void CMonitoringDlg::OnLimitChange(bool bMax) {
    if (m_nEditRow < 0) return;
    monitor::SensorTexts& sensor = m_sensors[size_t(m_nEditRow)];
    (bMax ? sensor.max : sensor.min) = (bMax ? m_spinMax : m_spinMin)->text().toStdString();
}

void CMonitoringDlg::OnBrowse() {
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Save;
    request.filter = QCoreApplication::translate("CMonitoringDlg", kLogFileFilter).toStdString();
    request.initialPath = kLogFileName;
    if (const auto chosen = platform::ChooseFile(request)) m_editLogPath->setText(qs(*chosen));
}

monitor::MonitoringTexts CMonitoringDlg::Values() const {
    monitor::MonitoringTexts t;
    t.refreshRate = m_spinRefreshRate->text().toStdString();
    t.logToFile = m_chkLogToFile->isChecked();
    t.logPath = m_editLogPath->text().toStdString();
    t.sensors = m_sensors;
    return t;
}
