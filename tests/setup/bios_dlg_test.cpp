// The BIOS page offscreen, with a stand-in flashing tool and answers for the
// file dialogs and message boxes.
#include "setup/bios_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include "flash_tool_standin.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"

using setup::CBiosDlg;

namespace {

struct Box {
    std::string text;
    UINT flags = 0;
};

class BiosPageTest : public FlashToolStandIn {
  protected:
    void SetUp() override {
        installStandIn("0.3");
        CBiosDlg::s_programDir = CBiosDlg::s_workDir = program.path().toStdString();

        platform::setFileDialogHandler([this](const platform::FileDialogRequest& r) {
            requests.push_back(r);
            return choice;
        });
        platform::setMessageBoxHandler([this](const std::string& text, const std::string&, UINT flags) {
            boxes.push_back({text, flags});
            return answer;
        });
        page = std::make_unique<CBiosDlg>(&dialog);
        ASSERT_TRUE(page->Create());
    }
    void TearDown() override {
        page.reset();
        platform::setFileDialogHandler({});
        platform::setMessageBoxHandler({});
    }

    void click(UINT id) {
        page->GetDlgItem<QPushButton>(id)->click();
        QApplication::processEvents();
    }
    // Waits on the event loop for the tool to end and the page to come back.
    void waitForTool() {
        QDeadlineTimer deadline(20000);
        while (page->ToolRunning() && !deadline.hasExpired()) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(10);
        }
        EXPECT_FALSE(page->ToolRunning());
        QApplication::processEvents();
    }

    platform::Window dialog;
    std::unique_ptr<CBiosDlg> page;
    std::vector<platform::FileDialogRequest> requests;
    std::optional<std::string> choice;
    std::vector<Box> boxes;
    int answer = IDYES;
};

}  // namespace

TEST_F(BiosPageTest, SaveOffersDefaultNameDisablesPageAndReportsWhereFileIs) {
    const QString target = elsewhere.filePath("backup card.rom");
    choice = target.toStdString();
    click(CBiosDlg::IDC_SAVE_BIOS);

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, platform::FileDialogRequest::Kind::Save);
    EXPECT_EQ(requests[0].initialPath, "NvBIOS.rom");
    EXPECT_EQ(requests[0].filter, "BIOS Files |*.rom|All Files (*.*)|*.*||");
    EXPECT_TRUE(page->ToolRunning());
    EXPECT_FALSE(page->isEnabled());

    waitForTool();
    EXPECT_TRUE(page->isEnabled());
    EXPECT_EQ(readText(target), "BIOS image 1\n");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].flags & MB_ICONERROR, 0u);
    EXPECT_NE(boxes[0].text.find(target.toStdString()), std::string::npos) << boxes[0].text;
}

TEST_F(BiosPageTest, FlashAsksWithPathAndRunsOnlyOnYes) {
    const std::string image = elsewhere.filePath("new bios.rom").toStdString();
    choice = image;
    answer = IDNO;
    click(CBiosDlg::IDC_FLASH_BIOS);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, platform::FileDialogRequest::Kind::Open);
    EXPECT_EQ(requests[0].filter, "BIOS Files |*.rom|All Files (*.*)|*.*||");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(image), std::string::npos);
    EXPECT_NE(boxes[0].flags & MB_YESNO, 0u);
    EXPECT_FALSE(page->ToolRunning());
    EXPECT_FALSE(QFile::exists(log));

    answer = IDYES;
    click(CBiosDlg::IDC_FLASH_BIOS);
    EXPECT_TRUE(page->ToolRunning());
    waitForTool();
    EXPECT_EQ(readText(log), "-4\n-5\n-6\n" + image + "\n");
}

// Message boxes leave the page usable, so a save can start while the flash
// question is open; the Yes that follows must not re-enable the page.
TEST_F(BiosPageTest, YesWhileSaveRunsKeepsPageDisabled) {
    choice = elsewhere.filePath("card.rom").toStdString();
    platform::setMessageBoxHandler([this](const std::string& text, const std::string&, UINT flags) {
        boxes.push_back({text, flags});
        if (boxes.size() == 1)
            page->SendMessage(WM_COMMAND, MAKEWPARAM(CBiosDlg::IDC_SAVE_BIOS, BN_CLICKED), 0);
        return IDYES;
    });
    click(CBiosDlg::IDC_FLASH_BIOS);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].flags & MB_ICONERROR, 0u);
    EXPECT_TRUE(page->ToolRunning());
    EXPECT_FALSE(page->isEnabled());
    waitForTool();
    EXPECT_TRUE(page->isEnabled());
    EXPECT_EQ(readText(log), "-b\ncard.rom\n");
}

TEST_F(BiosPageTest, CancelledDialogStartsNothing) {
    choice.reset();
    click(CBiosDlg::IDC_SAVE_BIOS);
    click(CBiosDlg::IDC_FLASH_BIOS);
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(page->ToolRunning());
    EXPECT_TRUE(page->isEnabled());
    EXPECT_FALSE(QFile::exists(log));
}

TEST_F(BiosPageTest, FailureIsShownAsError) {
    qputenv("NVFLASH_MODE", "fail");
    choice = elsewhere.filePath("card.rom").toStdString();
    click(CBiosDlg::IDC_SAVE_BIOS);
    waitForTool();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].flags & MB_ICONERROR, 0u);
    EXPECT_NE(boxes[0].text.find("No NVIDIA display adapters found"), std::string::npos) << boxes[0].text;
    EXPECT_TRUE(page->isEnabled());
}
