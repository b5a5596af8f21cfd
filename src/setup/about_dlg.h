// The settings window's "About" page: the version line, the support contacts
// and four web links. It reads and stores nothing.
#pragma once

#include "setup/settings_page.h"

namespace platform {
class LinkControl;
}

namespace setup {

class CAboutDlg : public CSettingsPage {
    Q_OBJECT
  public:
    enum : UINT {
        IDC_HEADING_SHARE = 1008,
        IDC_HEADING_ABOUT = 1009,
        IDC_SHARE_SINA = 1064,
        IDC_SHARE_TENCENT = 1065,
        IDC_FORUM = 1067,
        IDC_WEBSITE = 1068,
    };

    explicit CAboutDlg(platform::Window* dialog);

  protected:
    bool OnInitDialog() override;

  private:
    platform::LinkControl* m_linkSina = nullptr;
    platform::LinkControl* m_linkTencent = nullptr;
    platform::LinkControl* m_linkForum = nullptr;
    platform::LinkControl* m_linkWebsite = nullptr;
    platform::LinkControl* AddLink(UINT id, const QString& text, const std::string& address, int x, int y,
                                   int cx, int cy);
};

}  // namespace setup
