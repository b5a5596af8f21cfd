#include "setup/bios_dlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace setup {
namespace {

constexpr const char* kFilter = QT_TRANSLATE_NOOP("CBiosDlg", "BIOS Files |*.rom|All Files (*.*)|*.*||");
constexpr const char* kDefaultName = "NvBIOS.rom";
constexpr const char* kCaption = QT_TRANSLATE_NOOP("CBiosDlg", "BIOS");

std::string translated(const char* source) {
    return QCoreApplication::translate("CBiosDlg", source).toStdString();
}

std::string orDefault(const std::string& value, const std::string& fallback) {
    return value.empty() ? fallback : value;
}

}  // namespace

std::string CBiosDlg::s_programDir;
std::string CBiosDlg::s_workDir;

CBiosDlg::CBiosDlg(platform::Window* dialog)
    : CSettingsPage(dialog),
      m_tool(orDefault(s_programDir, platform::executableDir()),
             orDefault(s_workDir, QDir::currentPath().toStdString())) {}

CBiosDlg::~CBiosDlg() = default;

bool CBiosDlg::OnInitDialog() {
    AddHeading(IDC_HEADING, QCoreApplication::translate("CBiosDlg", "BIOS"), 3, 7, 229, 14);
    AddPushButton(IDC_SAVE_BIOS, QCoreApplication::translate("CBiosDlg", "Save BIOS to file"), 7, 33, 59, 14);
    AddPushButton(IDC_FLASH_BIOS, QCoreApplication::translate("CBiosDlg", "Save file to BIOS"), 7, 58, 59,
                  14);
    return true;
}

bool CBiosDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDC_SAVE_BIOS:
                OnSaveBios();
                return true;
            case IDC_FLASH_BIOS:
                OnFlashBios();
                return true;
        }
    }
    return CSettingsPage::OnCommand(wParam, lParam);
}

void CBiosDlg::OnSaveBios() {
    if (m_tool.running()) return;
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Save;
    request.filter = translated(kFilter);
    request.initialPath = kDefaultName;
    const auto path = platform::ChooseFile(request);
    if (!path) return;
    Started(m_tool.saveBios(*path, Reporter()));
}

void CBiosDlg::OnFlashBios() {
    if (m_tool.running()) return;
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Open;
    request.filter = translated(kFilter);
    const auto path = platform::ChooseFile(request);
    if (!path) return;
    // Writing a BIOS can leave the card unusable: never without a Yes.
    const std::string question =
        QCoreApplication::translate("CBiosDlg",
                                    "Write the BIOS image %1 to the graphics card?\n\nA wrong or damaged "
                                    "image can leave the card unusable. Do not turn the computer off until "
                                    "the tool has finished.")
            .arg(QString::fromStdString(*path))
            .toStdString();
    if (platform::MessageBox(question, translated(kCaption), MB_YESNO | MB_ICONWARNING) != IDYES) return;
    Started(m_tool.flashBios(*path, Reporter()));
}

void CBiosDlg::Started(bool running) {
    if (running) setEnabled(false);
}

// The settings window may be closed while the tool runs; the outcome is still told.
CFlashTool::Done CBiosDlg::Reporter() {
    return [page = QPointer<CBiosDlg>(this)](const CFlashTool::Outcome& outcome) {
        // A refused second start leaves the running one's page disabled.
        if (page && !page->ToolRunning()) page->setEnabled(true);
        platform::MessageBox(outcome.message, translated(kCaption),
                             outcome.ok ? MB_ICONINFORMATION : MB_ICONERROR);
    };
}

}  // namespace setup
