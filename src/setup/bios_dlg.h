// The settings window's "BIOS" page: saves the card's BIOS to a file and writes
// a file to the card through the flashing tool. It stores no settings; its
// actions happen at once, outside the window's commit.
#pragma once

#include <memory>

#include "setup/flash_tool.h"
#include "setup/settings_page.h"

namespace setup {

class CBiosDlg : public CSettingsPage {
    Q_OBJECT
  public:
    enum : UINT {
        IDC_HEADING = 1008,
        IDC_SAVE_BIOS = 1026,
        IDC_FLASH_BIOS = 1011,
    };

    explicit CBiosDlg(platform::Window* dialog);
    ~CBiosDlg() override;

    // Where the tool is looked for first and where it runs; tests point these
    // at their own folders. Taken when the page is created.
    static std::string s_programDir;
    static std::string s_workDir;

    bool ToolRunning() const { return m_tool.running(); }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    void OnSaveBios();
    void OnFlashBios();
    void Started(bool running);
    CFlashTool::Done Reporter();

    CFlashTool m_tool;
};

}  // namespace setup
