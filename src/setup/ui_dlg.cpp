#include "setup/ui_dlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPainter>

#include "platform/browse_edit.h"
#include "platform/hot_key_control.h"
#include "platform/program_file.h"
#include "settings/settings_reader.h"

namespace setup {
CUIDlg::CUIDlg(platform::Window* dialog) : CSettingsPage(dialog) {}

bool CUIDlg::OnInitDialog() {
    AddHeading(IDC_HEADING_SCREENSHOT, QCoreApplication::translate("CUIDlg", "UI screenshot"), 3, 7, 229, 14);
    AddLabel(QCoreApplication::translate("CUIDlg", "Save to"), 4, 28, 26, 8);
    m_editSaveTo = AddControl(new platform::BrowseEdit(this), IDC_SAVE_TO, 43, 27, 189, 12);
    AddLabel(QCoreApplication::translate("CUIDlg", "Hotkeys"), 4, 44, 27, 8);
    m_hotKey = AddControl(new platform::HotKeyControl(this), IDC_HOT_KEY, 43, 41, 80, 14);
    AddHeading(IDC_HEADING_SKIN, QCoreApplication::translate("CUIDlg", "User interface skinning properties"),
               2, 57, 229, 14);
    m_cbSkin = AddDropDownList(IDC_SKIN_LIST, 2, 77, 230);
    FollowRightMargin(m_editSaveTo, Follow::Stretch);
    FollowRightMargin(m_cbSkin, Follow::Stretch);

    m_preview = QImage(platform::programFile(QString::fromLatin1(kPreviewPicture)));
    m_cbSkin->insertItem(0, QCoreApplication::translate("CUIDlg", "Interface 1"));
    m_cbSkin->setCurrentIndex(0);

    const settings::SettingsReader s;
    m_editSaveTo->setText(QString::fromStdString(s.read(settings::keys::kScreenshotFolder)));
    const int key = s.read(settings::keys::kHotKeyVirtualKey);
    const int modifiers = s.read(settings::keys::kHotKeyModifiers);
    m_hotKey->SetHotKey(platform::hotKeyValue(key, modifiers));
    return true;
}

void CUIDlg::PaintPage(QPainter& p) {
    if (m_preview.isNull()) return;
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(kPreviewX, kPreviewY, m_preview);
}

QString CUIDlg::Folder() const {
    return m_editSaveTo->text();
}

uint16_t CUIDlg::HotKey() const {
    return m_hotKey->GetHotKey();
}

}  // namespace setup
