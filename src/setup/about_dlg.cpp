#include "setup/about_dlg.h"

#include <QCoreApplication>

#include "platform/link_control.h"
#include "setup/about_contacts.h"

namespace setup {

CAboutDlg::CAboutDlg(platform::Window* dialog) : CSettingsPage(dialog) {}

platform::LinkControl* CAboutDlg::AddLink(UINT id, const QString& text, const std::string& address, int x,
                                          int y, int cx, int cy) {
    return AddControl(new platform::LinkControl(text, QString::fromStdString(address), this), id, x, y, cx,
                      cy, Fit::Text);
}

bool CAboutDlg::OnInitDialog() {
    const AboutContacts& c = aboutContacts();
    AddHeading(IDC_HEADING_SHARE, QCoreApplication::translate("CAboutDlg", "Share"), 3, 7, 229, 14);
    m_linkSina =
        AddLink(IDC_SHARE_SINA, QCoreApplication::translate("CAboutDlg", "To share the Sina micro-blog"),
                c.sinaShare, 4, 26, 119, 13);
    m_linkTencent = AddLink(IDC_SHARE_TENCENT,
                            QCoreApplication::translate("CAboutDlg", "To share the Tencent micro-blog"),
                            c.tencentShare, 4, 41, 131, 13);
    AddHeading(IDC_HEADING_ABOUT, QCoreApplication::translate("CAboutDlg", "About"), 3, 57, 229, 14);
    AddLabel(QCoreApplication::translate("CAboutDlg", "Vantrel Version:beta1"), 7, 75, 85, 8);
    AddLabel(QCoreApplication::translate("CAboutDlg", "Support:"), 7, 86, 29, 8);
    AddLabel(QString::fromStdString(c.emailLine), 7, 99, 75, 8);
    m_linkForum = AddLink(IDC_FORUM,
                          QCoreApplication::translate("CAboutDlg", "BBS: ") + QString::fromStdString(c.forum),
                          c.forum, 7, 113, 131, 13);
    m_linkWebsite =
        AddLink(IDC_WEBSITE, QCoreApplication::translate("CAboutDlg", "Tessaril Official website"), c.website,
                7, 126, 131, 13);
    AddLabel(QString::fromStdString(c.phoneLine), 7, 140, 70, 8);
    return true;
}

}  // namespace setup
