#include "setup/quick_sight_settings_dlg.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QRadioButton>

#include "settings/settings_reader.h"

namespace setup {
namespace {

struct Quantity {
    const char* text;
    int width;  // dialog units
};
constexpr Quantity kQuantities[6] = {{QT_TRANSLATE_NOOP("CQuickSightSettingsDlg", "GPU clock"), 47},
                                     {QT_TRANSLATE_NOOP("CQuickSightSettingsDlg", "Memory clock"), 59},
                                     {QT_TRANSLATE_NOOP("CQuickSightSettingsDlg", "Fan speed"), 49},
                                     {QT_TRANSLATE_NOOP("CQuickSightSettingsDlg", "GPU load"), 45},
                                     {QT_TRANSLATE_NOOP("CQuickSightSettingsDlg", "TDP(%)"), 41},
                                     {QT_TRANSLATE_NOOP("CQuickSightSettingsDlg", "GPU Voltage"), 55}};

}  // namespace

CQuickSightSettingsDlg::CQuickSightSettingsDlg(platform::Window* dialog) : CSettingsPage(dialog) {}

void CQuickSightSettingsDlg::AddGroup(Side side, UINT headingId, const QString& heading, int headingX,
                                      int headingY, int headingWidth, const std::array<int, 6>& rows) {
    AddHeading(headingId, heading, headingX, headingY, headingWidth, 14);
    // The two groups share the page, so each gets a group of its own.
    auto* group = new QButtonGroup(this);
    const auto& ids = side == kLeft ? kLeftButtons : kRightButtons;
    for (size_t i = 0; i < 6; ++i) {
        QRadioButton* b =
            AddRadioButton(ids[i], QCoreApplication::translate("CQuickSightSettingsDlg", kQuantities[i].text),
                           5, rows[i], kQuantities[i].width, 10);
        group->addButton(b);
        m_buttons[side][i] = b;
    }
}

bool CQuickSightSettingsDlg::OnInitDialog() {
    AddGroup(kLeft, IDC_HEADING_LEFT, QCoreApplication::translate("CQuickSightSettingsDlg", "Left sight: "),
             3, 7, 229, {23, 36, 49, 62, 75, 88});
    AddGroup(kRight, IDC_HEADING_RIGHT,
             QCoreApplication::translate("CQuickSightSettingsDlg", "Right sight: "), 2, 104, 227,
             {122, 134, 146, 158, 170, 182});

    const settings::SettingsReader s;
    const int stored[2] = {s.read(settings::keys::kQuickSightLeft), s.read(settings::keys::kQuickSightRight)};
    for (int side : {kLeft, kRight})
        if (stored[side] >= 0 && stored[side] < 6)
            m_buttons[size_t(side)][size_t(stored[side])]->setChecked(true);
    return true;
}

int CQuickSightSettingsDlg::Choice(Side side) const {
    for (int i = 0; i < 6; ++i)
        if (m_buttons[side][size_t(i)] && m_buttons[side][size_t(i)]->isChecked()) return i;
    return -1;
}

}  // namespace setup
