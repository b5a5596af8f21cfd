// The settings window's "UI" page: the screenshot folder and hot key, and the
// skin list with its preview (shown, never stored).
#pragma once

#include <QImage>
#include <cstdint>

#include "setup/settings_page.h"

class QComboBox;

namespace platform {
class BrowseEdit;
class HotKeyControl;
}  // namespace platform

namespace setup {

class CUIDlg : public CSettingsPage {
    Q_OBJECT
  public:
    enum : UINT {
        IDC_HEADING_SCREENSHOT = 1008,
        IDC_HEADING_SKIN = 1009,
        IDC_SAVE_TO = 1061,
        IDC_SKIN_LIST = 1063,
        IDC_HOT_KEY = 1070,
    };
    static constexpr const char* kPreviewPicture = "ImageRes/Browse1.png";
    static constexpr int kPreviewX = 5;
    static constexpr int kPreviewY = 153;

    explicit CUIDlg(platform::Window* dialog);

    QString Folder() const;
    // Virtual-key code in the low byte, hot-key control flags in the high byte.
    uint16_t HotKey() const;

    // Its child controls, for driving it as a user would (tests).
    platform::BrowseEdit* SaveToEdit() const { return m_editSaveTo; }
    platform::HotKeyControl* HotKeyEdit() const { return m_hotKey; }

  protected:
    bool OnInitDialog() override;
    void PaintPage(QPainter& p) override;

  private:
    platform::BrowseEdit* m_editSaveTo = nullptr;
    platform::HotKeyControl* m_hotKey = nullptr;
    QComboBox* m_cbSkin = nullptr;
    QImage m_preview;
};

}  // namespace setup
