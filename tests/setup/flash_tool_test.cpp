#include "setup/flash_tool.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

#include "flash_tool_standin.h"

using setup::CFlashTool;

namespace {

void writeText(const QString& path, const char* text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

class FlashToolTest : public FlashToolStandIn {
  protected:
    void SetUp() override { installStandIn("0.1"); }

    // Runs one action and waits (on the event loop) for its report.
    std::optional<CFlashTool::Outcome> run(CFlashTool& tool, bool save, const std::string& path) {
        std::optional<CFlashTool::Outcome> outcome;
        QEventLoop loop;
        auto done = [&](const CFlashTool::Outcome& o) {
            outcome = o;
            loop.quit();
        };
        const bool started = save ? tool.saveBios(path, done) : tool.flashBios(path, done);
        if (started) {
            EXPECT_FALSE(outcome) << "reported before the tool ended";
            QTimer::singleShot(20000, &loop, &QEventLoop::quit);
            loop.exec();
        }
        EXPECT_FALSE(tool.running());
        return outcome;
    }
};

}  // namespace

TEST_F(FlashToolTest, SaveRunsToolWithNameAloneAndCopiesImageOverChosenFile) {
    CFlashTool tool(program.path().toStdString(), program.path().toStdString());
    // A blank and a leading "-" stay inside one argument.
    const QString target = elsewhere.filePath("-my card.rom");
    writeText(target, "old image");
    qputenv("NVFLASH_IMAGE", "fresh");

    auto outcome = run(tool, true, target.toStdString());
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->ok) << outcome->message;
    EXPECT_NE(outcome->message.find(target.toStdString()), std::string::npos);
    EXPECT_EQ(recordedArguments(), (std::vector<std::string>{"-b", "-my card.rom"}));
    EXPECT_EQ(readText(target), "BIOS image fresh\n");
    EXPECT_EQ(readText(program.filePath("-my card.rom")), "BIOS image fresh\n");  // kept
}

TEST_F(FlashToolTest, FlashPassesFullPathAsOneArgument) {
    CFlashTool tool(program.path().toStdString(), program.path().toStdString());
    const std::string image = elsewhere.filePath("my bios/-new.rom").toStdString();

    auto outcome = run(tool, false, image);
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->ok) << outcome->message;
    EXPECT_EQ(recordedArguments(), (std::vector<std::string>{"-4", "-5", "-6", image}));
}

TEST_F(FlashToolTest, EveryFailureIsReportedWithItsReason) {
    CFlashTool tool(program.path().toStdString(), program.path().toStdString());
    const QString target = elsewhere.filePath("card.rom");

    qputenv("NVFLASH_MODE", "fail");
    auto failed = run(tool, false, "/tmp/x.rom");
    ASSERT_TRUE(failed);
    EXPECT_FALSE(failed->ok);
    EXPECT_NE(failed->message.find("exit status 3"), std::string::npos) << failed->message;
    EXPECT_NE(failed->message.find("No NVIDIA display adapters found"), std::string::npos) << failed->message;

    // Exit status 0 but no image: an image left over from an earlier save must
    // not be passed off as this one.
    writeText(program.filePath("card.rom"), "earlier image");
    writeText(target, "user's file");
    qputenv("NVFLASH_MODE", "none");
    auto noImage = run(tool, true, target.toStdString());
    ASSERT_TRUE(noImage);
    EXPECT_FALSE(noImage->ok);
    EXPECT_NE(noImage->message.find("no BIOS image"), std::string::npos) << noImage->message;
    EXPECT_EQ(readText(target), "user's file");

    qputenv("NVFLASH_MODE", "save");
    const std::string unwritable = elsewhere.filePath("no such folder/card.rom").toStdString();
    auto copyFailed = run(tool, true, unwritable);
    ASSERT_TRUE(copyFailed);
    EXPECT_FALSE(copyFailed->ok);
    EXPECT_NE(copyFailed->message.find("could not be copied to " + unwritable + ": "), std::string::npos)
        << copyFailed->message;
}

TEST_F(FlashToolTest, ToolLookedUpInProgramFolderThenOnPath) {
    QTemporaryDir bin;
    ASSERT_TRUE(QFile::copy(NVFLASH_STANDIN, bin.filePath("nvflash")));
    qputenv("PATH", (bin.path() + ":/usr/bin:/bin").toLocal8Bit());

    CFlashTool local(program.path().toStdString(), program.path().toStdString());
    EXPECT_EQ(local.toolPath(), QDir(program.path()).filePath("nvflash").toStdString());

    CFlashTool fromPath(elsewhere.path().toStdString(), program.path().toStdString());
    EXPECT_EQ(fromPath.toolPath(), QDir(bin.path()).filePath("nvflash").toStdString());

    qputenv("PATH", "/usr/bin:/bin");
    CFlashTool nowhere(elsewhere.path().toStdString(), program.path().toStdString());
    int reports = 0;
    std::string message;
    EXPECT_FALSE(nowhere.flashBios("/tmp/x.rom", [&](const CFlashTool::Outcome& o) {
        ++reports;
        EXPECT_FALSE(o.ok);
        message = o.message;
    }));
    EXPECT_EQ(reports, 1);
    EXPECT_NE(message.find("nvflash"), std::string::npos);
    EXPECT_FALSE(nowhere.running());
}

TEST_F(FlashToolTest, OneRunAtATimeAndEventLoopKeepsRunning) {
    CFlashTool tool(program.path().toStdString(), program.path().toStdString());
    qputenv("NVFLASH_SLEEP", "0.5");
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);

    std::optional<CFlashTool::Outcome> first;
    QEventLoop loop;
    ASSERT_TRUE(tool.flashBios("/tmp/a.rom", [&](const CFlashTool::Outcome& o) {
        first = o;
        loop.quit();
    }));
    std::optional<CFlashTool::Outcome> second;
    EXPECT_FALSE(tool.flashBios("/tmp/b.rom", [&](const CFlashTool::Outcome& o) { second = o; }));
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->ok);
    EXPECT_TRUE(tool.running());
    loop.exec();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->ok);
    EXPECT_GT(ticks, 0);
}

TEST_F(FlashToolTest, RunnerGoneWhileToolRunsNeitherKillsToolNorLosesSave) {
    const QString target = elsewhere.filePath("card.rom");
    qputenv("NVFLASH_SLEEP", "0.3");
    std::optional<CFlashTool::Outcome> outcome;
    QEventLoop loop;
    {
        CFlashTool tool(program.path().toStdString(), program.path().toStdString());
        ASSERT_TRUE(tool.saveBios(target.toStdString(), [&](const CFlashTool::Outcome& o) {
            outcome = o;
            loop.quit();
        }));
    }
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->ok) << outcome->message;
    EXPECT_EQ(readText(target), "BIOS image 1\n");
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
