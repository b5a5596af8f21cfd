// The settings window's "Quick Sight Settings" page: which of six quantities
// each of the main window's two gauges shows.
#pragma once

#include <array>

#include "setup/settings_page.h"

class QButtonGroup;
class QRadioButton;

namespace setup {

class CQuickSightSettingsDlg : public CSettingsPage {
    Q_OBJECT
  public:
    enum Side { kLeft, kRight };
    enum : UINT { IDC_HEADING_LEFT = 1008, IDC_HEADING_RIGHT = 1009 };
    // The buttons of each group by quick-sight index. The right group's IDs do
    // not follow the screen order: "Memory clock" is 1076.
    static constexpr std::array<UINT, 6> kLeftButtons = {1059, 1060, 1061, 1062, 1063, 1064};
    static constexpr std::array<UINT, 6> kRightButtons = {1071, 1076, 1072, 1073, 1074, 1075};

    explicit CQuickSightSettingsDlg(platform::Window* dialog);

    // The index of the first checked button in index order; -1 when none is.
    int Choice(Side side) const;
    QRadioButton* Button(Side side, int index) const { return m_buttons[side][size_t(index)]; }

  protected:
    bool OnInitDialog() override;

  private:
    void AddGroup(Side side, UINT headingId, const QString& heading, int headingX, int headingY,
                  int headingWidth, const std::array<int, 6>& rows);

    std::array<std::array<QRadioButton*, 6>, 2> m_buttons{};
};

}  // namespace setup
